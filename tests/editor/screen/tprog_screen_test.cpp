// The main window as the user sees it on an X server, saved as a picture.
#include "editor/floatupdown.h"
#include "editor/swatch.h"
#include "editor/tprog.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QPoint inWindow(const Tprog &window, const QWidget *widget, QPoint at)
{
    return widget->mapTo(&window, at);
}

} // namespace

TEST(TprogScreen, StartWindowIsDrawnAndSaved)
{
    Tprog window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const QImage shot = window.grab().toImage();
    ASSERT_TRUE(shot.save(QStringLiteral(SCREENSHOT_PATH)));
    EXPECT_EQ(shot.size() / shot.devicePixelRatio(), window.size());

    // The swatch shows black inside its frame.
    const QPoint swatchMiddle = inWindow(window, window.farbfeld, window.farbfeld->rect().center());
    EXPECT_EQ(shot.pixelColor(swatchMiddle), QColor(Qt::black));

    // The copy picture is drawn: its button holds dark outline and white paper.
    const QImage copy = window.copy_hex->grab().toImage();
    bool dark = false, white = false;
    for (int y = 0; y < copy.height(); ++y)
        for (int x = 0; x < copy.width(); ++x) {
            const QColor pixel = copy.pixelColor(x, y);
            dark |= pixel.lightness() < 100;
            white |= pixel == QColor(Qt::white);
        }
    EXPECT_TRUE(dark);
    EXPECT_TRUE(white);

    // Nothing of the model rows sticks out of their group box or overlaps the
    // copy buttons, and every spin control stands beside its field.
    const QRect inside = window.gb_systeme->contentsRect();
    for (const TFloatUpDown *spin : window.spinControls()) {
        const QLineEdit *field = spin->Associate();
        ASSERT_NE(field, nullptr);
        EXPECT_TRUE(spin->isVisible()) << spin->objectName().toStdString();
        EXPECT_TRUE(inside.contains(spin->geometry())) << spin->objectName().toStdString();
        EXPECT_EQ(spin->geometry().top(), field->geometry().top());
        EXPECT_LT(spin->geometry().right(), window.copy_hex->geometry().left());
    }
    EXPECT_TRUE(inside.contains(window.spendenbutton->geometry()));

    // The settings menu opened from the menu bar, saved beside the window.
    QMenu *settings = window.m_einst;
    settings->popup(window.MainMenu1->mapToGlobal(
        window.MainMenu1->actionGeometry(settings->menuAction()).bottomLeft()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(settings));
    QMenu *steps = window.menu_inc;
    steps->popup(settings->mapToGlobal(settings->actionGeometry(steps->menuAction()).topRight()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(steps));
    QImage menus(settings->width() + steps->width(), std::max(settings->height(), steps->height()),
                 QImage::Format_RGB32);
    menus.fill(Qt::white);
    {
        QPainter painter(&menus);
        painter.drawPixmap(0, 0, settings->grab());
        painter.drawPixmap(settings->width(), 0, steps->grab());
    }
    EXPECT_TRUE(menus.save(QStringLiteral(MENU_SHOT_PATH)));
    steps->close();
    settings->close();
}
