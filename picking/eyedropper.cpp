#include "picking/eyedropper.h"

#include "editor/swatch.h"
#include "editor/tprog.h"
#include "editor/windowlook.h"
#include "picking/colourportal.h"
#include "editor/currentcolour.h"
#include "picking/pickaids.h"
#include "picking/pickingtexts.h"
#include "picking/pointergrabwatch.h"
#include "picking/screenpixel.h"
#include "picking/sessiontype.h"
#include "picking/waylandpick.h"

#include <QAction>
#include <QDBusConnection>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>

#include <utility>

Eyedropper::Eyedropper(Tprog &prog)
    : QObject(&prog)
    , m_prog(prog)
    , m_button(prog.Button1)
    , m_reader(tonfang::ScreenPixelReader::forApplication())
    , m_grabWatch(new PointerGrabWatch(this))
{
    m_button->installEventFilter(this);
    // Every button's press and release must reach the pick button itself: no
    // context menu may take the right button away mid-gesture.
    m_button->setContextMenuPolicy(Qt::PreventContextMenu);
    // Moves without a pressed button reach it too, and clear the guard flag.
    m_button->setMouseTracking(true);
    connect(m_grabWatch, &PointerGrabWatch::grabLost, this, &Eyedropper::cancelPick);

    if (m_reader) {
        m_aids = std::make_unique<PickAids>(*m_reader, *m_button);
        connect(m_aids.get(), &PickAids::rereadNeeded, this, &Eyedropper::Button1MouseMove);
    }

    if (tonfang::pickThroughPortal()) {
        m_portal = new ColourPortal(QDBusConnection::sessionBus(), this);
        connect(m_portal, &ColourPortal::availabilityKnown, this,
                &Eyedropper::portalAvailabilityKnown);
        connect(m_portal, &ColourPortal::colourPicked, this, &Eyedropper::applyPickedColour);
        connect(m_portal, &ColourPortal::pickUnsupported, this,
                &Eyedropper::tellPortalPickerMissing);
    }
}

Eyedropper::~Eyedropper()
{
    showCrosshair(false);
}

bool Eyedropper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_button)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // a quick second press arrives as this
        if (m_portal) {
            // The overlay or the portal's picker runs the whole gesture; the
            // button is not drawn pressed, as a message box may keep its
            // release away.
            if (!m_native && !startNativePick())
                pickThroughPortal();
            return true;
        }
        Button1MouseDown(*static_cast<QMouseEvent *>(event));
        break;
    case QEvent::MouseMove:
        Button1MouseMove();
        return false;
    case QEvent::MouseButtonRelease:
        if (m_portal) {
            // Wayland gave the drag to our window; released away from the
            // button, the pick happens where the pointer is next seen on the
            // overlay, which is where it was let go.
            if (m_native && std::exchange(m_nativeButtonDown, false)
                && !isOverButton(*static_cast<QMouseEvent *>(event)))
                m_native->pickAtFirstPointer();
            return true;
        }
        Button1MouseUp(*static_cast<QMouseEvent *>(event));
        break;
    default:
        return false;
    }
    // The button draws itself pressed for the left button; the others would
    // travel on to its parents, so they end here.
    return static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton;
}

void Eyedropper::Button1MouseDown(const QMouseEvent &event)
{
    // A press that reaches the button only through the grab of buttons still
    // held after a pick has ended starts nothing: it happened elsewhere.
    if (!m_picking && !isOverButton(event))
        return;
    startPick();
}

void Eyedropper::Button1MouseMove()
{
    if (m_picking) {
        // A pixel that cannot be read (the pointer outside every monitor, a
        // refused request) changes nothing, rather than turning everything white.
        const std::optional<tonfang::Rgb> pixel = m_aids ? m_aids->readForMove() : std::nullopt;
        if (pixel) {
            m_pickedColour = tonfang::RGBToTColor(*pixel);
            m_prog.RGBtoALL(*pixel);
            addIfChecked(m_prog.m_add_bewegen);
        }
    }
    m_prog.setGuardFlag(false);
}

void Eyedropper::Button1MouseUp(const QMouseEvent &event)
{
    // Qt's grab lasts until the last button is up, but the pick ends at its
    // first release. Later releases reach the button through that grab from
    // anywhere on the screen; only one over the button itself counts.
    if (m_picking || isOverButton(event))
        endPick();
}

void Eyedropper::startPick()
{
    m_prog.setGuardFlag(true);
    showCrosshair(true);
    // Qt's implicit grab keeps moves and the release coming to the button
    // wherever the pointer goes until the last mouse button is released.
    m_picking = true;
    m_grabWatch->start(m_button);
    if (m_reader)
        m_reader->refreshMonitors();
    if (m_aids)
        m_aids->pickStarted();
}

void Eyedropper::endPick()
{
    m_picking = false;
    m_grabWatch->stop();
    showCrosshair(false);
    if (m_aids)
        m_aids->pickEnded();
    m_prog.farbfeld->setColour(m_pickedColour);
    // The press raised the guard flag; a release without a move must not leave
    // it raised, or typing into the fields would go unheard.
    m_prog.setGuardFlag(false);
    addIfChecked(m_prog.m_add_auto);
}

void Eyedropper::cancelPick()
{
    // The release will never come. The displays keep the last colour read;
    // nothing is added, as the user did not choose to let go there.
    if (!m_picking)
        return;
    m_picking = false;
    m_grabWatch->stop();
    showCrosshair(false);
    if (m_aids)
        m_aids->pickEnded();
    m_prog.setGuardFlag(false);
}

bool Eyedropper::startNativePick()
{
    std::unique_ptr<WaylandPick> pick = tonfang::openWaylandPick();
    if (!pick)
        return false;
    m_native = pick.release();
    m_native->setParent(this);
    m_nativeButtonDown = true;
    connect(m_native, &WaylandPick::picked, this, [this](tonfang::Rgb colour) {
        endNativePick();
        applyPickedColour(colour);
    });
    // Cancelled, or the compositor went: the colour from before stays.
    connect(m_native, &WaylandPick::cancelled, this, &Eyedropper::endNativePick);
    connect(m_native, &WaylandPick::compositorLost, this, &Eyedropper::endNativePick);
    connect(m_native, &WaylandPick::captureRefused, this, [this] {
        endNativePick();
        pickThroughPortal();
    });
    m_native->start(m_nativeMagnifier);
    return true;
}

void Eyedropper::endNativePick()
{
    if (!m_native)
        return;
    m_nativeMagnifier = m_native->magnifierOn();
    // It is still sending the signal that ended it.
    std::exchange(m_native, nullptr)->deleteLater();
    m_nativeButtonDown = false;
}

void Eyedropper::pickThroughPortal()
{
    switch (m_portal->state()) {
    case ColourPortal::State::Ready:
        m_portal->pick();
        break;
    case ColourPortal::State::Probing:
        // Its version has not arrived yet; the answer decides.
        m_pickWhenPortalKnown = true;
        break;
    case ColourPortal::State::Unavailable:
        tellPortalPickerMissing();
        break;
    case ColourPortal::State::Picking:
        break; // the portal's picker is already up
    }
}

void Eyedropper::portalAvailabilityKnown(bool available)
{
    if (!std::exchange(m_pickWhenPortalKnown, false))
        return;
    if (available)
        m_portal->pick();
    else
        tellPortalPickerMissing();
}

void Eyedropper::applyPickedColour(tonfang::Rgb colour)
{
    m_pickedColour = tonfang::RGBToTColor(colour);
    m_prog.RGBtoALL(colour);
    m_prog.farbfeld->setColour(m_pickedColour);
    addIfChecked(m_prog.m_add_auto);
}

void Eyedropper::tellPortalPickerMissing()
{
    // Reading the X server here would give black, a failure dressed up as a
    // pick; the user is told what is missing instead, once per press.
    if (m_portalMessage)
        return;
    m_portalMessage = new QMessageBox(QMessageBox::Information,
                                      tonfang::applicationTitle,
                                      tonfang::portalColourPickerMissingText(), QMessageBox::Ok,
                                      &m_prog);
    m_portalMessage->setObjectName(QStringLiteral("portalPickerMissing"));
    m_portalMessage->setAttribute(Qt::WA_DeleteOnClose);
    m_portalMessage->open();
}

bool Eyedropper::isOverButton(const QMouseEvent &event) const
{
    return m_button->rect().contains(event.position().toPoint());
}

void Eyedropper::addIfChecked(const QAction *option)
{
    if (option->isChecked())
        tonfang::addCurrentColourToList(m_prog);
}

void Eyedropper::showCrosshair(bool on)
{
    if (on == m_crosshair)
        return;
    m_crosshair = on;
    if (on)
        QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}
