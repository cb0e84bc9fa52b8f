#pragma once
// The report windows: a short letter inviting bug reports and suggestions,
// with two address labels and "OK", once in German (Tbugreport_de) and once in
// English (Tbugreport_en). They stay on top of the other windows without
// blocking them; "OK" and the close button only hide them.
//
// Their texts are put in when a window is first shown, so that the start-up
// creates little more than the empty window.

#include "help/toolwindow.h"

class QLabel;
class QPushButton;

class ReportWindow : public ToolWindow {
    Q_OBJECT
public:
    bool isGerman() const { return m_german; }

    // Opens a label's address, marked as coming from a report window.
    void BrowseToCaption(const QLabel *label);
    void Button1Click();

    void ensureContents() override;
    bool contentsBuilt() const { return Button1 != nullptr; }

    // "OK"; null until the contents are built.
    QPushButton *Button1 = nullptr;

protected:
    ReportWindow(bool german, const char *name, QSize client);

private:
    const bool m_german;
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
