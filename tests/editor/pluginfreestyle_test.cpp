// The plugin-free style draws the pictures it reads itself exactly as the
// style it wraps draws them.
#include "editor/pluginfreestyle.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QIcon>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <memory>

namespace {

QImage render(QWidget &widget, QStyle &style)
{
    widget.setStyle(&style);
    widget.resize(120, 60);
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    widget.render(&image);
    return image;
}

TEST(PluginFreeStyle, DrawsWhatFusionDraws)
{
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    const std::unique_ptr<QStyle> lean(
        tonfang::newPluginFreeStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
    ASSERT_TRUE(fusion && lean);

    for (const auto direction : {Qt::LeftToRight, Qt::RightToLeft}) {
        QStyleOption option;
        option.direction = direction;
        const QIcon expected = fusion->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, &option);
        const QIcon got = lean->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, &option);
        for (const int side : {8, 12, 16, 24, 32})
            EXPECT_EQ(got.pixmap(side).toImage(), expected.pixmap(side).toImage())
                << side << (direction == Qt::RightToLeft ? " right to left" : "");
    }

    struct Box { const char *title; bool checkable; };
    for (const Box &c : {Box{"Systeme", false}, Box{"", false}, Box{"Farbliste", true}}) {
        QGroupBox box(QString::fromUtf8(c.title));
        box.setCheckable(c.checkable);
        const QImage expected = render(box, *fusion);
        EXPECT_EQ(render(box, *lean), expected) << c.title;
    }
}

} // namespace
