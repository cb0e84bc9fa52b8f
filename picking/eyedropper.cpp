#include "picking/eyedropper.h"

#include "editor/swatch.h"
#include "editor/tprog.h"
#include "picking/colourportal.h"
#include "picking/currentcolour.h"
#include "picking/pickaids.h"
#include "picking/screenpixel.h"

#include <QAction>
#include <QDBusConnection>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>

Eyedropper::Eyedropper(Tprog &prog)
    : QObject(&prog), m_prog(prog), m_reader(ScreenPixelReader::forApplication())
{
    QPushButton *button = m_prog.Button1;
    button->installEventFilter(this);
    // Every button's press and release must reach the pick button itself: no
    // context menu may take the right button away mid-gesture.
    button->setContextMenuPolicy(Qt::PreventContextMenu);
    // Moves without a pressed button reach it too, and clear the guard flag.
    button->setMouseTracking(true);

    if (m_reader) {
        m_aids = std::make_unique<PickAids>(*m_reader, *button);
        connect(m_aids.get(), &PickAids::rereadNeeded, this, &Eyedropper::Button1MouseMove);
    }

    if (!qEnvironmentVariable("WAYLAND_DISPLAY").isEmpty()) {
        m_portal = new ColourPortal(QDBusConnection::sessionBus(), this);
        connect(m_portal, &ColourPortal::colourPicked, this, &Eyedropper::applyPortalColour);
    }
}

Eyedropper::~Eyedropper()
{
    showCrosshair(false);
}

bool Eyedropper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_prog.Button1)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // a quick second press arrives as this
        Button1MouseDown();
        break;
    case QEvent::MouseMove:
        Button1MouseMove();
        return false;
    case QEvent::MouseButtonRelease:
        Button1MouseUp();
        break;
    default:
        return false;
    }
    // The button draws itself pressed for the left button; the others would
    // travel on to its parents, so they end here.
    return static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton;
}

void Eyedropper::Button1MouseDown()
{
    if (m_portal && m_portal->isAvailable()) {
        m_pressWentToPortal = true;
        m_portal->pick();
        return;
    }
    m_prog.setGuardFlag(true);
    showCrosshair(true);
    // Qt's implicit grab keeps moves and the release coming to the button
    // wherever the pointer goes until the last mouse button is released.
    m_picking = true;
    if (m_reader)
        m_reader->refreshMonitors();
    if (m_aids)
        m_aids->pickStarted();
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

void Eyedropper::Button1MouseUp()
{
    if (m_pressWentToPortal) {
        // The portal's own picker runs the gesture; its answer finishes it.
        m_pressWentToPortal = false;
        return;
    }
    m_picking = false;
    showCrosshair(false);
    if (m_aids)
        m_aids->pickEnded();
    m_prog.farbfeld->setColour(m_pickedColour);
    // The press raised the guard flag; a release without a move must not leave
    // it raised, or typing into the fields would go unheard.
    m_prog.setGuardFlag(false);
    addIfChecked(m_prog.m_add_auto);
}

void Eyedropper::applyPortalColour(tonfang::Rgb colour)
{
    m_pickedColour = tonfang::RGBToTColor(colour);
    m_prog.RGBtoALL(colour);
    m_prog.farbfeld->setColour(m_pickedColour);
    addIfChecked(m_prog.m_add_auto);
}

void Eyedropper::addIfChecked(const QAction *option)
{
    if (option->isChecked())
        addCurrentColourToList(m_prog);
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
