#include "picking/pointergrabwatch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

namespace {

constexpr std::uint16_t anyButtonHeld = XCB_KEY_BUT_MASK_BUTTON_1 | XCB_KEY_BUT_MASK_BUTTON_2
                                      | XCB_KEY_BUT_MASK_BUTTON_3 | XCB_KEY_BUT_MASK_BUTTON_4
                                      | XCB_KEY_BUT_MASK_BUTTON_5;

} // namespace

PointerGrabWatch::PointerGrabWatch(QObject *parent) : QObject(parent) {}

PointerGrabWatch::~PointerGrabWatch()
{
    stop();
}

void PointerGrabWatch::start(const QWidget *grabber)
{
    stop();
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const QWidget *window = grabber->window();
    if (!window->testAttribute(Qt::WA_WState_Created))
        return;
    m_window = std::uint32_t(window->winId());
    QCoreApplication::instance()->installNativeEventFilter(this);
}

void PointerGrabWatch::stop()
{
    if (m_window == 0)
        return;
    m_window = 0;
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

bool PointerGrabWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (m_window == 0 || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_LEAVE_NOTIFY)
        return false;
    const auto *leave = static_cast<const xcb_leave_notify_event_t *>(message);
    const bool grabChanged =
        leave->mode == XCB_NOTIFY_MODE_GRAB || leave->mode == XCB_NOTIFY_MODE_UNGRAB;
    if (leave->event == m_window && grabChanged && (leave->state & anyButtonHeld) != 0) {
        stop();
        emit grabLost();
    }
    return false; // Qt still sees the event
}
