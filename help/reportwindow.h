#pragma once
// The report windows: a short letter inviting bug reports and suggestions,
// with two address labels and "OK", once in German (Tbugreport_de) and once in
// English (Tbugreport_en). They stay on top of the other windows without
// blocking them; "OK" and the close button only hide them.
//
// Their texts are put in when a window is first shown, so that the start-up
// creates little more than the empty window.

#include <QWidget>

class QLabel;
class QPushButton;

class ReportWindow : public QWidget {
    Q_OBJECT
public:
    bool isGerman() const { return m_german; }

    // Shows the window, or brings it to the front when it is already shown.
    void open();

    // Opens a label's address, marked as coming from a report window.
    void BrowseToCaption(const QLabel *label);
    void Button1Click();

    void ensureContents();
    bool contentsBuilt() const { return Button1 != nullptr; }

    // "OK"; null until the contents are built.
    QPushButton *Button1 = nullptr;

protected:
    ReportWindow(bool german, const char *name, QSize client);

    // The contents are built before the window first shows, not while it shows.
    void setVisible(bool visible) override;
    void showEvent(QShowEvent *event) override;

private:
    const bool m_german;
    bool m_centred = false;
};

class Tbugreport_de : public ReportWindow {
    Q_OBJECT
public:
    Tbugreport_de();
};

class Tbugreport_en : public ReportWindow {
    Q_OBJECT
public:
    Tbugreport_en();
};
