#include "picking/oneshotpick.h"

#include "editor/terminationsignals.h"
#include "picking/colourportal.h"
#include "picking/pickaids.h"
#include "picking/pickingtexts.h"
#include "picking/screenpixel.h"
#include "picking/sessiontype.h"
#include "picking/waylandpick.h"
#include "picking/xcbreply.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xcb_cursor.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

using tonfang::OneShotPick;
using tonfang::owned;
using tonfang::ScreenPixelReader;

namespace {

// A hotkey program may still hold the keyboard when it starts us (until the
// bound key is up); a grab refused for longer is held by someone else.
constexpr int grabPatienceMs = 1000;
constexpr int grabRetryMs = 20;

constexpr std::uint16_t buttonMask(int button)
{
    return std::uint16_t(XCB_BUTTON_MASK_1 << (button - 1));
}
constexpr std::uint16_t anyButton = XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3
                                  | XCB_BUTTON_MASK_4 | XCB_BUTTON_MASK_5;

// The X keysyms a pick listens to.
enum Keysym : xcb_keysym_t {
    Space = 0x0020, LowerZ = 0x007a, UpperZ = 0x005a, Return = 0xff0d, Escape = 0xff1b,
    Left = 0xff51, Up = 0xff52, Right = 0xff53, Down = 0xff54,
    KeypadSpace = 0xff80, KeypadEnter = 0xff8d,
    KeypadLeft = 0xff96, KeypadUp = 0xff97, KeypadRight = 0xff98, KeypadDown = 0xff99,
};

// The Qt key the magnifier and arrow keys of PickAids answer to.
int qtKeyOf(xcb_keysym_t symbol)
{
    switch (symbol) {
    case Left: case KeypadLeft: return Qt::Key_Left;
    case Right: case KeypadRight: return Qt::Key_Right;
    case Up: case KeypadUp: return Qt::Key_Up;
    case Down: case KeypadDown: return Qt::Key_Down;
    case LowerZ: case UpperZ: return Qt::Key_Z;
    default: return 0;
    }
}

OneShotPick impossible(QString reason)
{
    return {OneShotPick::Status::Impossible, {}, std::move(reason)};
}

// A pick on the X server, run on Qt's own connection: the grab's events are
// taken from Qt's native event stream before Qt sees them.
class GrabPick : public QObject, public QAbstractNativeEventFilter {
public:
    GrabPick(xcb_connection_t *connection, std::unique_ptr<ScreenPixelReader> reader,
             bool startWithMagnifier)
        : m_c(connection), m_reader(std::move(reader)), m_aids(*m_reader)
    {
        m_aids.setMagnifierOn(startWithMagnifier);
        connect(&m_aids, &PickAids::rereadNeeded, this, &GrabPick::screenSettled);
        m_retry.setInterval(grabRetryMs);
        connect(&m_retry, &QTimer::timeout, this, &GrabPick::retryGrab);
    }

    ~GrabPick() override { release(); }

    OneShotPick run()
    {
        // The grab goes on the root the pointer is on; it follows the pointer
        // to every monitor and screen.
        auto pointer = owned(xcb_query_pointer_reply(
            m_c, xcb_query_pointer(m_c, xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root),
            nullptr));
        if (!pointer)
            return impossible(tonfang::noScreenToPickFromLine());
        m_root = pointer->root;
        loadCursor();
        loadKeymap();
        QCoreApplication::instance()->installNativeEventFilter(this);
        tonfang::onTerminationSignal(this, [this] { finish(OneShotPick{}); });
        m_patience.start();
        if (!tryGrab())
            m_retry.start();
        m_loop.exec();
        return m_result;
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        switch (event->response_type & 0x7f) {
        case XCB_BUTTON_PRESS:
        case XCB_BUTTON_RELEASE: {
            const auto *button = static_cast<const xcb_button_press_event_t *>(message);
            if (button->event != m_root)
                return false;
            if ((event->response_type & 0x7f) == XCB_BUTTON_PRESS)
                pressed(button->detail);
            else
                released(button->detail, button->state);
            return true;
        }
        case XCB_MOTION_NOTIFY:
            if (static_cast<const xcb_motion_notify_event_t *>(message)->event != m_root)
                return false;
            if (m_aids.magnifierOn())
                m_aids.readForMove();
            return true;
        case XCB_KEY_PRESS:
        case XCB_KEY_RELEASE: {
            const auto *key = static_cast<const xcb_key_press_event_t *>(message);
            if (key->event != m_root)
                return false;
            if ((event->response_type & 0x7f) == XCB_KEY_PRESS)
                keyPressed(key->detail, key->state);
            else
                m_heldKeys.erase(key->detail);
            return true;
        }
        default:
            return false;
        }
    }

private:
    void loadCursor()
    {
        // The desktop's themed crosshair, or the X server's own.
        for (auto it = xcb_setup_roots_iterator(xcb_get_setup(m_c)); it.rem; xcb_screen_next(&it)) {
            if (it.data->root != m_root)
                continue;
            xcb_cursor_context_t *context = nullptr;
            if (xcb_cursor_context_new(m_c, it.data, &context) == 0) {
                m_cursor = xcb_cursor_load_cursor(context, "crosshair");
                xcb_cursor_context_free(context);
            }
        }
    }

    void loadKeymap()
    {
        const xcb_setup_t *setup = xcb_get_setup(m_c);
        m_firstKeycode = setup->min_keycode;
        auto map = owned(xcb_get_keyboard_mapping_reply(
            m_c,
            xcb_get_keyboard_mapping(m_c, setup->min_keycode,
                                     std::uint8_t(setup->max_keycode - setup->min_keycode + 1)),
            nullptr));
        if (!map)
            return;
        m_symbolsPerKeycode = map->keysyms_per_keycode;
        const xcb_keysym_t *symbols = xcb_get_keyboard_mapping_keysyms(map.get());
        m_keysyms.assign(symbols, symbols + xcb_get_keyboard_mapping_keysyms_length(map.get()));
    }

    // The key's symbol without modifiers, as printed on it.
    xcb_keysym_t keysymOf(xcb_keycode_t code) const
    {
        const std::size_t index = std::size_t(code - m_firstKeycode) * m_symbolsPerKeycode;
        return code >= m_firstKeycode && index < m_keysyms.size() ? m_keysyms[index] : 0;
    }

    bool tryGrab()
    {
        // Both asked at once: one round trip.
        const auto pointerCookie =
            m_pointerGrabbed ? xcb_grab_pointer_cookie_t{}
                             : xcb_grab_pointer(m_c, 0, m_root,
                                                XCB_EVENT_MASK_BUTTON_PRESS
                                                    | XCB_EVENT_MASK_BUTTON_RELEASE
                                                    | XCB_EVENT_MASK_POINTER_MOTION,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                                                XCB_NONE, m_cursor, XCB_CURRENT_TIME);
        const auto keyboardCookie =
            m_keyboardGrabbed ? xcb_grab_keyboard_cookie_t{}
                              : xcb_grab_keyboard(m_c, 0, m_root, XCB_CURRENT_TIME,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (!m_pointerGrabbed) {
            auto reply = owned(xcb_grab_pointer_reply(m_c, pointerCookie, nullptr));
            m_pointerGrabbed = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
            // The pick starts with the pointer: clicks count from here on,
            // and the magnifier may show.
            if (m_pointerGrabbed)
                m_aids.pickStarted();
        }
        if (!m_keyboardGrabbed) {
            auto reply = owned(xcb_grab_keyboard_reply(m_c, keyboardCookie, nullptr));
            m_keyboardGrabbed = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
        }
        return m_pointerGrabbed && m_keyboardGrabbed;
    }

    void retryGrab()
    {
        if (tryGrab())
            m_retry.stop();
        else if (m_patience.elapsed() >= grabPatienceMs)
            finish(impossible(tonfang::grabRefusedLine()));
    }

    void pressed(int button)
    {
        m_buttonsUp = false;
        if (button == 1)
            pickUnderPointer();
        else if (button == 3)
            decide({OneShotPick::Status::Cancelled, {}, {}});
    }

    void released(int button, std::uint16_t heldBefore)
    {
        // The pick ends once every button is up, so that no program gets a
        // release without its press.
        m_buttonsUp = (heldBefore & anyButton & ~buttonMask(button)) == 0;
        if (m_buttonsUp && m_outcome)
            finish(*m_outcome);
    }

    void keyPressed(xcb_keycode_t code, std::uint16_t modifiers)
    {
        // Qt asks the server for detectable auto-repeat: a key pressed again
        // without a release in between is held down.
        const bool repeat = !m_heldKeys.insert(code).second;
        const xcb_keysym_t symbol = keysymOf(code);
        switch (symbol) {
        case Escape:
            decide({OneShotPick::Status::Cancelled, {}, {}});
            return;
        case Return:
        case KeypadEnter:
        case Space:
        case KeypadSpace:
            if (!repeat)
                pickUnderPointer();
            return;
        default:
            if (const int key = qtKeyOf(symbol))
                m_aids.handleKey(key,
                                 modifiers & XCB_MOD_MASK_SHIFT ? Qt::ShiftModifier
                                                                : Qt::NoModifier,
                                 repeat);
        }
    }

    void pickUnderPointer()
    {
        if (m_outcome)
            return;
        if (const std::optional<tonfang::Rgb> pixel = m_aids.readForMove())
            decide({OneShotPick::Status::Picked, *pixel, {}});
        else if (m_aids.rereadPending())
            m_pickWhenSettled = true; // the magnifier may still show where it stood
        // Otherwise the pointer is on no monitor: there is nothing to take, and
        // the pick goes on.
    }

    void screenSettled()
    {
        if (std::exchange(m_pickWhenSettled, false))
            pickUnderPointer();
        else if (m_aids.magnifierOn())
            m_aids.readForMove();
    }

    void decide(const OneShotPick &outcome)
    {
        if (m_outcome)
            return;
        m_outcome = outcome;
        if (m_buttonsUp)
            finish(outcome);
    }

    void finish(const OneShotPick &result)
    {
        m_result = result;
        release();
        m_loop.quit();
    }

    void release()
    {
        m_retry.stop();
        m_aids.pickEnded();
        if (QCoreApplication *app = QCoreApplication::instance())
            app->removeNativeEventFilter(this);
        if (m_pointerGrabbed)
            xcb_ungrab_pointer(m_c, XCB_CURRENT_TIME);
        if (m_keyboardGrabbed)
            xcb_ungrab_keyboard(m_c, XCB_CURRENT_TIME);
        m_pointerGrabbed = m_keyboardGrabbed = false;
        if (m_cursor != XCB_NONE)
            xcb_free_cursor(m_c, std::exchange(m_cursor, XCB_NONE));
        xcb_flush(m_c);
    }

    xcb_connection_t *m_c;
    std::unique_ptr<ScreenPixelReader> m_reader;
    PickAids m_aids; // reads through m_reader
    xcb_window_t m_root = XCB_NONE;
    xcb_cursor_t m_cursor = XCB_NONE;
    bool m_pointerGrabbed = false;
    bool m_keyboardGrabbed = false;
    QTimer m_retry;
    QElapsedTimer m_patience;
    xcb_keycode_t m_firstKeycode = 0;
    std::size_t m_symbolsPerKeycode = 1;
    std::vector<xcb_keysym_t> m_keysyms;
    std::set<xcb_keycode_t> m_heldKeys;
    bool m_buttonsUp = true;
    bool m_pickWhenSettled = false;
    std::optional<OneShotPick> m_outcome; // decided, waiting for the buttons to come up
    OneShotPick m_result;
    QEventLoop m_loop;
};

OneShotPick pickFromPortal()
{
    ColourPortal portal(QDBusConnection::sessionBus());
    if (portal.state() == ColourPortal::State::Unavailable) // no session bus
        return impossible(tonfang::portalColourPickerMissingLine());
    QEventLoop loop;
    OneShotPick result;
    const auto end = [&](OneShotPick outcome) {
        result = std::move(outcome);
        loop.quit();
    };
    QObject::connect(&portal, &ColourPortal::availabilityKnown, &portal, [&](bool available) {
        if (available)
            portal.pick();
        else
            end(impossible(tonfang::portalColourPickerMissingLine()));
    });
    QObject::connect(&portal, &ColourPortal::colourPicked, &portal, [&](tonfang::Rgb colour) {
        end({OneShotPick::Status::Picked, colour, {}});
    });
    QObject::connect(&portal, &ColourPortal::pickFailed, &portal, [&](bool byUser) {
        end(byUser ? OneShotPick{} : impossible(tonfang::portalPickFailedLine()));
    });
    QObject::connect(&portal, &ColourPortal::pickUnsupported, &portal,
                     [&] { end(impossible(tonfang::portalColourPickerMissingLine())); });
    tonfang::onTerminationSignal(&portal, [&] { end(OneShotPick{}); });
    loop.exec();
    return result;
}

// The overlay of a wlroots compositor; nothing when the portal is to pick
// instead (chosen so, or the compositor cannot or will not capture).
std::optional<OneShotPick> pickNatively(bool startWithMagnifier)
{
    const std::unique_ptr<WaylandPick> pick = tonfang::openWaylandPick();
    if (!pick)
        return std::nullopt;
    QEventLoop loop;
    std::optional<OneShotPick> result;
    const auto end = [&](std::optional<OneShotPick> outcome) {
        result = std::move(outcome);
        loop.quit();
    };
    QObject::connect(pick.get(), &WaylandPick::picked, &loop, [&](tonfang::Rgb colour) {
        end(OneShotPick{OneShotPick::Status::Picked, colour, {}});
    });
    QObject::connect(pick.get(), &WaylandPick::cancelled, &loop, [&] { end(OneShotPick{}); });
    QObject::connect(pick.get(), &WaylandPick::captureRefused, &loop,
                     [&] { end(std::nullopt); });
    QObject::connect(pick.get(), &WaylandPick::compositorLost, &loop,
                     [&] { end(impossible(tonfang::compositorLostLine())); });
    tonfang::onTerminationSignal(&loop, [&] { end(OneShotPick{}); });
    pick->start(startWithMagnifier);
    loop.exec();
    return result;
}

} // namespace

OneShotPick tonfang::pickOneColour(bool startWithMagnifier)
{
    if (tonfang::pickThroughPortal()) {
        if (std::optional<OneShotPick> native = pickNatively(startWithMagnifier))
            return *native;
        return pickFromPortal();
    }
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    std::unique_ptr<ScreenPixelReader> reader = ScreenPixelReader::forApplication();
    if (!x11 || !reader)
        return impossible(tonfang::noScreenToPickFromLine());
    GrabPick pick(x11->connection(), std::move(reader), startWithMagnifier);
    return pick.run();
}
