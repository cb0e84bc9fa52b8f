#include "editor/scrollareaaccessible.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QScrollArea>
#include <QScrollBar>

namespace tonfang {

namespace {

// Qt 6.4's own interface counts a scroll bar only while it shows, yet answers
// child(n) without checking n against that count. A page turned away hides its
// bars, so a screen reader that asks for the last child it counted before reads
// past the end of Qt's list and Qt dereferences whatever lies there.
class ScrollAreaAccessible : public QAccessibleWidget {
public:
    explicit ScrollAreaAccessible(QAbstractScrollArea *area)
        : QAccessibleWidget(area, QAccessible::Client)
    {
    }

    int childCount() const override { return int(parts().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList now = parts();
        return index >= 0 && index < now.size() ? QAccessible::queryAccessibleInterface(now[index])
                                                : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(parts().indexOf(qobject_cast<QWidget *>(child->object()))) : -1;
    }

private:
    QWidgetList parts() const
    {
        const auto *area = static_cast<const QAbstractScrollArea *>(widget());
        QWidgetList parts;
        if (area->viewport())
            parts.append(area->viewport());
        // Qt names a bar's container, not the bar, as the child.
        for (const QScrollBar *bar : {area->horizontalScrollBar(), area->verticalScrollBar()})
            if (bar && bar->isVisible())
                parts.append(bar->parentWidget());
        if (area->cornerWidget() && area->cornerWidget()->isVisible())
            parts.append(area->cornerWidget());
        return parts;
    }
};

// Asked for each class from the most derived up, before Qt's own factory: the
// names are the two Qt answers with that interface, so every class Qt gives a
// more particular one (text edits, item views) keeps it.
QAccessibleInterface *scrollAreaAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(QScrollArea::staticMetaObject.className())
        || className == QLatin1String(QAbstractScrollArea::staticMetaObject.className()))
        if (auto *area = qobject_cast<QAbstractScrollArea *>(object))
            return new ScrollAreaAccessible(area);
    return nullptr;
}

} // namespace

void installScrollAreaAccessible()
{
    static const bool installed = (QAccessible::installFactory(&scrollAreaAccessible), true);
    Q_UNUSED(installed);
}

} // namespace tonfang
