#include "editor/pluginfreestyle.h"

#include "editor/png.h"

#include <QApplication>
#include <QGroupBox>
#include <QIcon>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOption>
#include <qdrawutil.h>

namespace tonfang {
namespace {

const QString qtPictures = QStringLiteral(":/qt-project.org/styles/commonstyle/images/");

class PluginFreeStyle : public QProxyStyle {
public:
    explicit PluginFreeStyle(QStyle *base) : QProxyStyle(base) {}

    // Fusion draws a group box's frame from a picture it reads anew, through
    // the image reader, for every box it paints; this draws the same picture.
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element != PE_FrameGroupBox || !isFusion() || groupBoxFrame().isNull()) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        constexpr int belowTitle = 3;
        const auto *box = qobject_cast<const QGroupBox *>(widget);
        const int top = box && !box->isCheckable() && box->title().isEmpty()
                            ? belowTitle
                            : qMax(pixelMetric(PM_ExclusiveIndicatorHeight),
                                   option->fontMetrics.height())
                                  + belowTitle;
        qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0), QMargins(6, 6, 6, 6),
                          groupBoxFrame_);
    }

    QIcon standardIcon(StandardPixmap which, const QStyleOption *option,
                       const QWidget *widget) const override
    {
        if (which != SP_ToolBarHorizontalExtensionButton)
            return QProxyStyle::standardIcon(which, option, widget);
        const bool rightToLeft = option ? option->direction == Qt::RightToLeft
                                        : QGuiApplication::isRightToLeft();
        const QString prefix = rightToLeft ? QStringLiteral("toolbar-ext-h-rtl-")
                                           : QStringLiteral("toolbar-ext-h-");
        const QIcon icon = loadPngIcon(qtPictures + prefix + QLatin1String("%1.png"), {8, 16, 32});
        // Should Qt's pictures ever move, the style's own way still works.
        return icon.isNull() ? QProxyStyle::standardIcon(which, option, widget) : icon;
    }

private:
    bool isFusion() const
    {
        return baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
    }

    // Read when first drawn, and again while it cannot be read.
    const QPixmap &groupBoxFrame() const
    {
        if (groupBoxFrame_.isNull())
            groupBoxFrame_ =
                QPixmap::fromImage(loadPng(qtPictures + QLatin1String("fusion_groupbox.png")));
        return groupBoxFrame_;
    }

    mutable QPixmap groupBoxFrame_;
};

} // namespace

QStyle *newPluginFreeStyle(QStyle *base)
{
    return new PluginFreeStyle(base);
}

void installPluginFreeStyle()
{
    QApplication::setStyle(newPluginFreeStyle());
}

} // namespace tonfang
