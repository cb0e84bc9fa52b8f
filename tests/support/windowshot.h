#pragma once
// Screenshots for the screenshot tools: the windows as the X server shows
// them, frames included, with a small margin.

#include <QList>
#include <QRect>
#include <QScreen>
#include <QTest>
#include <QWidget>

inline bool shootWindows(const QList<QWidget *> &windows, const QString &file)
{
    QRect area;
    for (QWidget *window : windows) {
        if (!QTest::qWaitForWindowExposed(window))
            return false;
        area |= window->frameGeometry();
    }
    QTest::qWait(200);  // let the last paint reach the server
    area.adjust(-8, -8, 8, 8);
    return windows.front()
        ->screen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .save(file);
}
