// The window's geometry: the design layout, what follows a resize, and the
// smallest size.
#include "tprog_testing.h"

#include "editor/anchors.h"
#include "editor/colourlist.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using tonfang::Anchors;

namespace {

struct Column {
    const char *field;
    const char *spin;
};
const std::vector<std::vector<Column>> threeColumnRows = {
    {{"e_red", "ud_red"}, {"e_green", "ud_green"}, {"e_blue", "ud_blue"}},
    {{"e_pr", "ud_pr"}, {"e_pg", "ud_pg"}, {"e_pb", "ud_pb"}},
    {{"e_cyan", "ud_cyan"}, {"e_magenta", "ud_magenta"}, {"e_yellow", "ud_yellow"}},
    {{"e_hsvH", "ud_hsvH"}, {"e_hsvS", "ud_hsvS"}, {"e_hsvV", "ud_hsvV"}},
    {{"e_x", "ud_x"}, {"e_yy", "ud_yy"}, {"e_z", "ud_z"}},
    {{"e_kx", "ud_kx"}, {"e_ky", "ud_ky"}, {"e_kz", "ud_kz"}},
};
const std::vector<Column> cmykRow = {
    {"e_c", "ud_c"}, {"e_m", "ud_m"}, {"e_y", "ud_y"}, {"e_k", "ud_k"}};

} // namespace

TEST(Anchors, EdgesKeepTheirDistanceToTheParent)
{
    const QRect design(10, 20, 100, 50);
    const QSize parent(300, 200), grown(330, 240);
    using E = Qt::Edge;
    EXPECT_EQ(Anchors::place(design, parent, grown, E::LeftEdge | E::TopEdge), design);
    EXPECT_EQ(Anchors::place(design, parent, grown, E::RightEdge | E::TopEdge),
              QRect(40, 20, 100, 50));
    EXPECT_EQ(Anchors::place(design, parent, grown, E::LeftEdge | E::RightEdge | E::BottomEdge),
              QRect(10, 60, 130, 50));
    EXPECT_EQ(Anchors::place(design, parent, grown,
                             E::LeftEdge | E::RightEdge | E::TopEdge | E::BottomEdge),
              QRect(10, 20, 130, 90));
    EXPECT_EQ(Anchors::place(design, parent, QSize(100, 100),
                             E::LeftEdge | E::RightEdge | E::TopEdge | E::BottomEdge),
              QRect(10, 20, 0, 0)) << "a shrinking child stops at nothing";
}

TEST_F(TprogTest, DesignLayout)
{
    EXPECT_EQ(window->centralWidget()->size(), QSize(343, 497));
    EXPECT_EQ(window->gb_systeme->geometry(), QRect(8, 212, 329, 276));
    EXPECT_EQ(window->gb_tonfang->geometry(), QRect(8, 8, 158, 196));
    EXPECT_EQ(window->gb_farbliste->geometry(), QRect(180, 8, 157, 196));
    EXPECT_EQ(window->farbfeld->geometry(), QRect(8, 23, 141, 127));
    EXPECT_EQ(window->ColorListBox1->geometry(), QRect(8, 23, 140, 161));

    for (const auto &row : threeColumnRows)
        for (std::size_t column = 0; column < 3; ++column) {
            const int left = 52 + 80 * int(column);
            EXPECT_EQ(edit(row[column].field)->x(), left) << row[column].field;
            EXPECT_EQ(edit(row[column].field)->width(), 58) << row[column].field;
            EXPECT_EQ(spin(row[column].spin)->x(), left + 58) << row[column].spin;
        }
    for (std::size_t column = 0; column < 4; ++column) {
        EXPECT_EQ(edit(cmykRow[column].field)->geometry(),
                  QRect(52 + 60 * int(column), 103, 38, 21));
        EXPECT_EQ(spin(cmykRow[column].spin)->geometry(),
                  QRect(90 + 60 * int(column), 103, 17, 21));
    }
    EXPECT_EQ(text("e_hex").size(), 7);
    EXPECT_EQ(edit("e_hex")->geometry(), QRect(52, 28, 237, 21));
    EXPECT_EQ(edit("e_tcolor")->geometry(), QRect(52, 178, 220, 21));
    // In line with the third column; it covers the field's border by two pixels.
    EXPECT_EQ(spin("ud_tcolor")->geometry(), QRect(270, 178, 17, 21));
    EXPECT_EQ(window->copy_hex->geometry(), QRect(295, 28, 23, 22));
    EXPECT_EQ(window->SpeedButton1->geometry(), QRect(296, 228, 23, 22));
    EXPECT_EQ(window->copy_hex->focusPolicy(), Qt::NoFocus);
    const QLabel *donate = window->spendenbutton;
    EXPECT_EQ(donate->x(), (329 - donate->width()) / 2);
    EXPECT_LE(donate->width(), 329);
}

TEST_F(TprogTest, WideningSpreadsTheColumnsAndKeepsButtonsAtTheRight)
{
    const QSize design = window->size();
    std::vector<int> widths;
    for (const char *name : {"e_red", "e_pr", "e_kx", "e_c", "e_k", "e_hex"})
        widths.push_back(edit(name)->width());
    const QRect swatch = window->farbfeld->geometry();

    window->resize(design + QSize(30, 40));
    ASSERT_EVENTUALLY_EQ(window->gb_systeme->width(), 359);
    EXPECT_EQ(edit("e_red")->width(), widths[0] + 10);
    EXPECT_EQ(edit("e_pr")->width(), widths[1] + 10);
    EXPECT_EQ(edit("e_kx")->width(), widths[2] + 10);
    EXPECT_EQ(edit("e_c")->width(), widths[3] + 8); // (359 - 107) / 4 = 63, was 55
    EXPECT_EQ(edit("e_k")->width(), widths[4] + 8);
    EXPECT_EQ(edit("e_hex")->width(), widths[5] + 30);
    EXPECT_EQ(spin("ud_blue")->x(), 300);
    EXPECT_EQ(spin("ud_k")->x(), 300);
    EXPECT_EQ(spin("ud_tcolor")->x(), 300);
    EXPECT_EQ(window->copy_hex->x(), 325);
    EXPECT_EQ(window->gb_farbliste->x(), 210);
    EXPECT_EQ(window->farbfeld->geometry(), swatch.adjusted(0, 0, 30, 40));
    EXPECT_EQ(window->gb_systeme->geometry(), QRect(8, 252, 359, 276));
    EXPECT_EQ(window->Button1->y(), 197);
    // Every spin control stays beside its field.
    for (const auto &row : threeColumnRows)
        for (const Column &column : row)
            EXPECT_EQ(spin(column.spin)->x(), edit(column.field)->geometry().right() + 1);
}

TEST_F(TprogTest, TheWindowCannotBeMadeSmallerThanItsMinimum)
{
    window->resize(100, 100);
    ASSERT_EVENTUALLY_EQ(window->size(), QSize(320, 400));
    EXPECT_GE(window->width(), window->minimumWidth());
    // Narrower fields, same arrangement, nothing under the copy buttons.
    EXPECT_EQ(edit("e_red")->width(), (306 - 102) / 3 - 17);
    EXPECT_LT(spin("ud_blue")->geometry().right(), window->copy_rgb->x());
    EXPECT_LT(spin("ud_k")->geometry().right(), window->copy_cmyk->x());
    EXPECT_GT(window->farbfeld->height(), 0);
}
