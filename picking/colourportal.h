#pragma once
// The desktop portal's colour picker, for Wayland sessions, where the X server
// cannot see other programs' pixels. Everything is asynchronous: the window
// never waits for the portal.

#include "core/colour.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <optional>

class QDBusPendingCallWatcher;

namespace tonfang {

// The colour of a portal answer: results["color"] holds three doubles 0..1.
// Nothing when the entry is missing or not three finite numbers.
std::optional<Rgb> portalColour(const QVariantMap &results);

// Three doubles 0..1 to bytes, each rounded to the nearest byte and clamped.
std::optional<Rgb> portalColour(double red, double green, double blue);

} // namespace tonfang

class ColourPortal : public QObject, protected QDBusContext {
    Q_OBJECT
public:
    enum class State { Probing, Unavailable, Ready, Picking };

    // Starts asking whether the portal offers colour picking (version 2 or later).
    explicit ColourPortal(const QDBusConnection &bus, QObject *parent = nullptr);

    State state() const { return m_state; }
    // Picking is offered (and may be in progress).
    bool isAvailable() const { return m_state == State::Ready || m_state == State::Picking; }

    // Asks the portal for one colour; does nothing unless Ready.
    void pick();

signals:
    void availabilityKnown(bool available);
    void colourPicked(tonfang::Rgb colour);
    // The user cancelled (byUser), or the portal failed or its answer held no
    // colour.
    void pickFailed(bool byUser);
    // The portal has no colour picker after all (its version promised one, but
    // it does not know PickColor); the state is now Unavailable.
    void pickUnsupported();

private slots:
    // Connected through QtDBus by signature: org.freedesktop.portal.Request.Response.
    void onResponse(uint response, const QVariantMap &results);

private:
    void onVersion(QDBusPendingCallWatcher *call);
    void onPickReply(QDBusPendingCallWatcher *call);
    void listenAt(const QString &path);
    void stopListening();
    void finish(std::optional<tonfang::Rgb> colour, bool cancelledByUser = false);

    QDBusConnection m_bus;
    State m_state = State::Probing;
    QString m_portalOwner;
    QString m_requestPath;
    unsigned m_requestCount = 0;
};
