#include "screenhelpers.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>

#include <xcb/xcb.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace screentest {

namespace {

xcb_connection_t *connection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

constexpr QSize patternDeviceSize{120, 90};

xcb_screen_t *firstScreen()
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection())).data;
}

constexpr int rootTile = 64;

} // namespace

tonfang::Rgb rootPatternColour(QPoint device)
{
    const int x = device.x() % rootTile, y = device.y() % rootTile;
    return {std::uint8_t(4 * x), std::uint8_t(4 * y), std::uint8_t((x + y) % 2 ? 0xE0 : 0x20)};
}

void paintRootPattern()
{
    xcb_connection_t *c = connection();
    const xcb_screen_t *screen = firstScreen();
    if (screen->root_depth != 24)
        return;
    std::vector<std::uint32_t> tile; // 32 bits per pixel, as 24-bit screens store them
    for (int y = 0; y < rootTile; ++y)
        for (int x = 0; x < rootTile; ++x) {
            const tonfang::Rgb p = rootPatternColour({x, y});
            tile.push_back(std::uint32_t(p.red) << 16 | std::uint32_t(p.green) << 8 | p.blue);
        }
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    xcb_create_pixmap(c, screen->root_depth, pixmap, screen->root, rootTile, rootTile);
    const xcb_gcontext_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, pixmap, 0, nullptr);
    xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, rootTile, rootTile, 0, 0, 0,
                  screen->root_depth, std::uint32_t(tile.size() * 4),
                  reinterpret_cast<const std::uint8_t *>(tile.data()));
    xcb_change_window_attributes(c, screen->root, XCB_CW_BACK_PIXMAP, &pixmap);
    xcb_clear_area(c, 0, screen->root, 0, 0, 0, 0);
    xcb_free_gc(c, gc);
    xcb_free_pixmap(c, pixmap);
    xcb_flush(c);
}

QSize rootSize()
{
    const xcb_screen_t *screen = firstScreen();
    return {screen->width_in_pixels, screen->height_in_pixels};
}

tonfang::Rgb gridColour(int column, int row)
{
    return {std::uint8_t(30 + 25 * column), std::uint8_t(30 + 25 * row),
            std::uint8_t((column + row) % 2 ? 0xF0 : 0x10)};
}

PatternWindow::PatternWindow()
{
    setWindowFlags(Qt::FramelessWindowHint);
    const qreal ratio = devicePixelRatioF();
    setFixedSize(int(std::ceil(patternDeviceSize.width() / ratio)),
                 int(std::ceil(patternDeviceSize.height() / ratio)));
}

void PatternWindow::paintEvent(QPaintEvent *)
{
    // Drawn as an image of device pixels, so each grid pixel is exactly one
    // pixel on the screen also at fractional scale factors.
    const qreal ratio = devicePixelRatioF();
    QImage image(QSize(int(std::lround(width() * ratio)), int(std::lround(height() * ratio))),
                 QImage::Format_RGB32);
    const auto colour = [](tonfang::Rgb c) { return QColor(c.red, c.green, c.blue); };
    image.fill(colour(background));
    {
        QPainter p(&image);
        p.fillRect(redArea, colour(red));
        p.fillRect(sampleArea, colour(sample));
    }
    for (int row = 0; row < gridArea.height(); ++row)
        for (int column = 0; column < gridArea.width(); ++column) {
            const tonfang::Rgb c = gridColour(column, row);
            image.setPixel(gridArea.x() + column, gridArea.y() + row,
                           qRgb(c.red, c.green, c.blue));
        }
    image.setDevicePixelRatio(ratio);
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image);
}

namespace {

QPoint deviceOriginOf(WId window)
{
    xcb_connection_t *c = connection();
    const xcb_window_t root = firstScreen()->root;
    auto *reply = xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, xcb_window_t(window), root, 0, 0), nullptr);
    if (!reply)
        return {};
    const QPoint origin(reply->dst_x, reply->dst_y);
    std::free(reply);
    return origin;
}

} // namespace

QPoint deviceOrigin(const QWidget *window)
{
    return deviceOriginOf(window->winId());
}

QRect deviceRect(const QWindow *window)
{
    xcb_connection_t *c = connection();
    auto *reply =
        xcb_get_geometry_reply(c, xcb_get_geometry(c, xcb_window_t(window->winId())), nullptr);
    if (!reply)
        return {};
    const QRect rect(deviceOriginOf(window->winId()), QSize(reply->width, reply->height));
    std::free(reply);
    return rect;
}

QPoint pointerPosition()
{
    xcb_connection_t *c = connection();
    auto *reply = xcb_query_pointer_reply(c, xcb_query_pointer(c, firstScreen()->root), nullptr);
    if (!reply)
        return {};
    const QPoint position(reply->root_x, reply->root_y);
    std::free(reply);
    return position;
}

QPoint devicePoint(const QWidget *widget, QPointF local)
{
    const QWidget *window = widget->window();
    const QPointF inWindow = widget->mapTo(window, local);
    const qreal ratio = window->devicePixelRatioF();
    return deviceOrigin(window) + QPoint(int(inWindow.x() * ratio), int(inWindow.y() * ratio));
}

QPoint deviceCentre(const QWidget *widget)
{
    return devicePoint(widget, QPointF(widget->rect().center()));
}

void focusFollowsPointer()
{
    xcb_connection_t *c = connection();
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_INPUT_FOCUS_POINTER_ROOT,
                        XCB_CURRENT_TIME);
    xcb_flush(c);
}

bool xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

bool movePointer(QPoint device)
{
    return xdotool({QStringLiteral("mousemove"), QString::number(device.x()),
                    QString::number(device.y())});
}

MoveCounter::MoveCounter(QWidget *widget) : QObject(widget), m_widget(widget)
{
    // The application's filters see an event before the widget's own do.
    qApp->installEventFilter(this);
}

bool MoveCounter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_widget)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
        ++moves;
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        ++presses;
        break;
    case QEvent::MouseButtonRelease:
        ++releases;
        break;
    default:
        break;
    }
    return false;
}

QString hexText(tonfang::Rgb rgb)
{
    return QStringLiteral("#%1%2%3")
        .arg(rgb.red, 2, 16, QLatin1Char('0'))
        .arg(rgb.green, 2, 16, QLatin1Char('0'))
        .arg(rgb.blue, 2, 16, QLatin1Char('0'))
        .toUpper();
}

OtherXClient::OtherXClient(const char *display) : m_connection(xcb_connect(display, nullptr)) {}

OtherXClient::~OtherXClient()
{
    xcb_disconnect(m_connection);
}

bool OtherXClient::grabPointer()
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    auto *reply = xcb_grab_pointer_reply(
        m_connection,
        xcb_grab_pointer(m_connection, 0, root, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                         XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
        nullptr);
    const bool grabbed = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    return grabbed;
}

bool OtherXClient::grabKeyboard()
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    auto *reply = xcb_grab_keyboard_reply(
        m_connection,
        xcb_grab_keyboard(m_connection, 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC,
                          XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool grabbed = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    return grabbed;
}

void OtherXClient::ungrab()
{
    xcb_ungrab_pointer(m_connection, XCB_CURRENT_TIME);
    xcb_ungrab_keyboard(m_connection, XCB_CURRENT_TIME);
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

bool OtherXClient::pointerHeldElsewhere()
{
    const bool free = grabPointer();
    return free ? (ungrab(), false) : true;
}

bool OtherXClient::keyboardHeldElsewhere()
{
    const bool free = grabKeyboard();
    return free ? (ungrab(), false) : true;
}

void startOneShot(QProcess &process, const QStringList &arguments, const QString &folder,
                  const QStringList &environment)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &change : environment) {
        const QString name = change.section(QLatin1Char('='), 0, 0);
        const QString value = change.section(QLatin1Char('='), 1);
        if (value.isEmpty())
            env.remove(name);
        else
            env.insert(name, value);
    }
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(TONFANG_ONESHOT),
                  QStringList{QStringLiteral("--pick")} + arguments);
}

void OtherXClient::setMapped(const QWidget *window, bool mapped)
{
    const auto id = xcb_window_t(window->winId());
    if (mapped)
        xcb_map_window(m_connection, id);
    else
        xcb_unmap_window(m_connection, id);
    // A round trip: the server has handled the request once the reply is here.
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

} // namespace screentest
