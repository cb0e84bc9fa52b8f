#pragma once
// What the help and report windows have in common: a tool window, created
// hidden and empty at start-up, whose contents are built just before it first
// shows, centred on its screen the first time and left where the user puts it
// afterwards.

#include <QWidget>

class ToolWindow : public QWidget {
    Q_OBJECT
public:
    // Builds the contents if they are not built yet.
    virtual void ensureContents() = 0;

    // Shows the window, or brings it to the front when it is already shown.
    void present();

    // The contents are built before the window first shows, not while it shows.
    void setVisible(bool visible) override;

protected:
    explicit ToolWindow(Qt::WindowFlags flags);

    void showEvent(QShowEvent *event) override;

private:
    bool m_centred = false;
};
