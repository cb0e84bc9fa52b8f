#pragma once
// Tells when the pointer grab that a pick lives on is taken away.
//
// On X11 the grab a press starts on the pick button (Qt's implicit grab) keeps
// every move and the release coming to us. While it lasts another program's
// XGrabPointer fails with AlreadyGrabbed; the grab ends early only when its
// window stops being viewable (a window manager hiding it, for example on a
// workspace switch), and then any program may grab the pointer. The release
// goes elsewhere, so without this watch the pick would never end.
//
// The X server reports the loss as a LeaveNotify of mode Ungrab (our grab
// ended) or Grab (a grab of someone else began) on our window while a button
// is still held. Qt swallows both during a press, so they are read from the
// native event stream. The end of an ordinary gesture also sends an Ungrab,
// but only after the last button is up. Focus changes are not looked at:
// focus-follows-mouse desktops send them during ordinary drags.

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

class QWidget;

class PointerGrabWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit PointerGrabWatch(QObject *parent = nullptr);
    ~PointerGrabWatch() override;

    // Watches the grab of the top-level window holding `grabber`. Does nothing
    // off X11, where there is no such grab to lose.
    void start(const QWidget *grabber);
    void stop();

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void grabLost();

private:
    std::uint32_t m_window = 0; // the X window watched; 0 while not watching
};
