#include "help/toolwindow.h"

#include "editor/windowlook.h"

#include <QShowEvent>

ToolWindow::ToolWindow(Qt::WindowFlags flags)
    : QWidget(nullptr, Qt::Tool | flags)
{
    setFont(tonfang::windowFont());
}

void ToolWindow::present()
{
    ensureContents();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void ToolWindow::setVisible(bool visible)
{
    if (visible)
        ensureContents();
    QWidget::setVisible(visible);
}

void ToolWindow::showEvent(QShowEvent *event)
{
    if (!m_centred && !event->spontaneous()) {
        m_centred = true;
        tonfang::centreOnScreen(*this);
    }
    QWidget::showEvent(event);
}
