#include "picking/sessiontype.h"

#include "picking/pickingtexts.h"
#include "picking/waylandpick.h"

#include <QGuiApplication>

#include <cstdio>
#include <utility>

namespace tonfang {

bool sessionNeedsPortal(const QString &platformName, const QString &sessionType,
                        const QString &waylandDisplay)
{
    if (platformName.startsWith(QLatin1String("wayland")))
        return true;
    if (!sessionType.isEmpty())
        return sessionType.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
    return !waylandDisplay.isEmpty();
}

bool pickThroughPortal()
{
    return sessionNeedsPortal(QGuiApplication::platformName(),
                              qEnvironmentVariable("XDG_SESSION_TYPE"),
                              qEnvironmentVariable("WAYLAND_DISPLAY"));
}

WaylandPicker waylandPickerChoice(const QString &value, bool *unknown)
{
    if (unknown)
        *unknown = false;
    if (value == QLatin1String("portal"))
        return WaylandPicker::Portal;
    if (value == QLatin1String("native"))
        return WaylandPicker::Native;
    if (unknown)
        *unknown = !value.isEmpty();
    return WaylandPicker::Automatic;
}

WaylandPicker waylandPickerChoice()
{
    const QString value = qEnvironmentVariable("TONFANG_WAYLAND_PICKER");
    bool unknown = false;
    const WaylandPicker choice = waylandPickerChoice(value, &unknown);
    static bool told = false;
    if (unknown && !std::exchange(told, true))
        std::fprintf(stderr, "%s\n", unknownWaylandPickerLine(value).toUtf8().constData());
    return choice;
}

std::unique_ptr<WaylandPick> openWaylandPick()
{
    const WaylandPicker choice = waylandPickerChoice();
    // No compositor named: libwayland would guess one (and complain).
    if (choice == WaylandPicker::Portal
        || (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
            && qEnvironmentVariableIsEmpty("WAYLAND_SOCKET")))
        return nullptr;
    std::unique_ptr<WaylandPick> pick = WaylandPick::connect();
    if (!pick && choice == WaylandPicker::Native)
        std::fprintf(stderr, "%s\n", nativePickUnavailableLine().toUtf8().constData());
    return pick;
}

} // namespace tonfang
