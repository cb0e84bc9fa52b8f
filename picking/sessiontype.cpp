#include "picking/sessiontype.h"

#include <QGuiApplication>

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

} // namespace tonfang
