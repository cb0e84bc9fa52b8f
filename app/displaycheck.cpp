#include "app/displaycheck.h"

#include "picking/sessiontype.h"

#include <xcb/xcb.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <utility>

namespace tonfang {

DisplayEnvironment DisplayEnvironment::current()
{
    return {qgetenv("QT_QPA_PLATFORM"), qgetenv("XDG_SESSION_TYPE"), qgetenv("DISPLAY"),
            qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_RUNTIME_DIR"), qgetenv("WAYLAND_SOCKET")};
}

bool isWaylandSession(const DisplayEnvironment &environment)
{
    // The pick's rule, before Qt has chosen a platform.
    return sessionNeedsPortal(QString(), QString::fromLocal8Bit(environment.sessionType),
                              QString::fromLocal8Bit(environment.waylandDisplay));
}

DisplayPlan displayPlan(const QStringList &qtArguments, const DisplayEnvironment &environment)
{
    // As Qt reads them: one dash or two, the last one given counts.
    QByteArray platforms = environment.qpaPlatform;
    DisplayPlan plan;
    for (qsizetype i = 0; i + 1 < qtArguments.size(); ++i) {
        QString name = qtArguments[i];
        if (name.startsWith(QLatin1String("--")))
            name.remove(0, 1);
        if (name == QLatin1String("-platform"))
            platforms = qtArguments[++i].toLocal8Bit();
        else if (name == QLatin1String("-display"))
            plan.xDisplay = qtArguments[++i].toLocal8Bit();
    }

    if (platforms.isEmpty()) {
        plan.x11 = true;
        plan.wayland = isWaylandSession(environment);
        return plan;
    }
    // "wayland;xcb", each optionally with ":options".
    for (const QByteArray &entry : platforms.split(';')) {
        const QByteArray plugin = entry.split(':').constFirst().trimmed();
        if (plugin == "xcb")
            plan.x11 = true;
        else if (plugin.startsWith("wayland"))
            plan.wayland = true;
        else if (!plugin.isEmpty())
            plan.check = false;
    }
    return plan;
}

void HeldXConnection::hold(xcb_connection_t *connection)
{
    close();
    m_connection = connection;
}

void HeldXConnection::close()
{
    if (m_connection)
        xcb_disconnect(std::exchange(m_connection, nullptr));
}

bool canReachX(const QByteArray &displayName, HeldXConnection &held)
{
    xcb_connection_t *connection =
        xcb_connect(displayName.isEmpty() ? nullptr : displayName.constData(), nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return false;
    }
    held.hold(connection);
    return true;
}

bool canReachWayland(const DisplayEnvironment &environment)
{
    if (!environment.waylandSocket.isEmpty())
        return true;
    const QByteArray name =
        environment.waylandDisplay.isEmpty() ? QByteArray("wayland-0") : environment.waylandDisplay;
    QByteArray path = name;
    if (!name.startsWith('/')) {
        if (environment.runtimeDir.isEmpty())
            return false;
        path = environment.runtimeDir + '/' + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool reached = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return reached;
}

bool displayReachable(const QStringList &qtArguments, HeldXConnection &held,
                      const DisplayEnvironment &environment)
{
    const DisplayPlan plan = displayPlan(qtArguments, environment);
    if (!plan.check)
        return true;
    return (plan.wayland && canReachWayland(environment))
        || (plan.x11 && canReachX(plan.xDisplay, held));
}

} // namespace tonfang
