#include "picking/colourportal.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

#include <algorithm>
#include <cmath>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString screenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// Colour picking arrived with version 2 of the screenshot interface.
constexpr uint firstVersionWithPicking = 2;

// The portal answered that it has no such method or interface: it cannot pick,
// unlike a picker that merely failed this once.
bool isUnknownMethod(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ErrorMessage)
        return false;
    const QString name = reply.errorName();
    return name == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod")
        || name == QLatin1String("org.freedesktop.DBus.Error.UnknownInterface");
}

} // namespace

namespace tonfang {

std::optional<Rgb> portalColour(double red, double green, double blue)
{
    const auto toByte = [](double v) -> std::optional<std::uint8_t> {
        if (!std::isfinite(v))
            return std::nullopt;
        return std::uint8_t(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
    };
    const auto r = toByte(red), g = toByte(green), b = toByte(blue);
    if (!r || !g || !b)
        return std::nullopt;
    return Rgb{*r, *g, *b};
}

std::optional<Rgb> portalColour(const QVariantMap &results)
{
    const QVariant colour = results.value(QStringLiteral("color"));
    if (!colour.canConvert<QDBusArgument>())
        return std::nullopt;
    const auto argument = colour.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("(ddd)"))
        return std::nullopt;
    double red = 0, green = 0, blue = 0;
    argument.beginStructure();
    argument >> red >> green >> blue;
    argument.endStructure();
    return portalColour(red, green, blue);
}

} // namespace tonfang

ColourPortal::ColourPortal(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), m_bus(bus)
{
    if (!m_bus.isConnected()) {
        m_state = State::Unavailable;
        return;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << screenshotInterface << QStringLiteral("version");
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(get), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &ColourPortal::onVersion);
}

void ColourPortal::onVersion(QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    const QDBusMessage reply = call->reply();
    uint version = 0;
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        version = reply.arguments().first().value<QDBusVariant>().variant().toUInt();
    if (version >= firstVersionWithPicking) {
        // Answers are only believed from the connection that owns the portal.
        m_portalOwner = reply.service();
        m_state = State::Ready;
    } else {
        m_state = State::Unavailable;
    }
    emit availabilityKnown(isAvailable());
}

void ColourPortal::pick()
{
    if (m_state != State::Ready)
        return;
    m_state = State::Picking;

    // The portal names the request object after our bus name and this token.
    // Listening there before the call means a fast answer cannot be missed.
    const QString token = QStringLiteral("tonfang_%1_%2")
                              .arg(QCoreApplication::applicationPid())
                              .arg(++m_requestCount);
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    listenAt(QStringLiteral("%1/request/%2/%3").arg(portalPath, sender, token));

    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath,
                                                       screenshotInterface,
                                                       QStringLiteral("PickColor"));
    call << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    watcher->setProperty("requestPath", m_requestPath);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &ColourPortal::onPickReply);
}

void ColourPortal::onPickReply(QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    // An answer that came first has already finished this request.
    if (m_state != State::Picking || call->property("requestPath").toString() != m_requestPath)
        return;
    const QDBusMessage reply = call->reply();
    if (isUnknownMethod(reply)) {
        stopListening();
        m_state = State::Unavailable;
        emit pickUnsupported();
        return;
    }
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        finish(std::nullopt);
        return;
    }
    // Older portals choose the request path themselves.
    const QString path = reply.arguments().first().value<QDBusObjectPath>().path();
    if (!path.isEmpty() && path != m_requestPath) {
        stopListening();
        listenAt(path);
    }
}

void ColourPortal::onResponse(uint response, const QVariantMap &results)
{
    if (m_state != State::Picking || !calledFromDBus() || message().service() != m_portalOwner)
        return;
    // 0 is success; 1 is a cancel by the user, 2 any other end.
    finish(response == 0 ? tonfang::portalColour(results) : std::nullopt, response == 1);
}

void ColourPortal::listenAt(const QString &path)
{
    m_requestPath = path;
    m_bus.connect(QString(), path, requestInterface, QStringLiteral("Response"), this,
                  SLOT(onResponse(uint, QVariantMap)));
}

void ColourPortal::stopListening()
{
    m_bus.disconnect(QString(), m_requestPath, requestInterface, QStringLiteral("Response"),
                     this, SLOT(onResponse(uint, QVariantMap)));
}

void ColourPortal::finish(std::optional<tonfang::Rgb> colour, bool cancelledByUser)
{
    stopListening();
    m_state = State::Ready;
    if (colour)
        emit colourPicked(*colour);
    else
        emit pickFailed(cancelledByUser);
}
