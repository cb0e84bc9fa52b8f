#include "help/toolwindow.h"

#include "editor/windowfont.h"

#include <QShowEvent>

ToolWindow::ToolWindow(Qt::WindowFlags flags)
    : QWidget(nullptr, Qt::Tool | flags)
{
    setFont(windowFont());
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
        centreOnScreen(*this);
    }
    QWidget::showEvent(event);
}
