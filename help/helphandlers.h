#pragma once
// The main window's help and link commands: address items that open the page
// written in their caption, the Online menu's topic items, the donation label,
// the report and help window commands of the File, Info and Software menus.

#include "help/helpwindow.h"

#include <QObject>

class QAction;
class QLabel;
class ReportWindow;
class Tprog;

class HelpHandlers : public QObject {
    Q_OBJECT
public:
    // The windows these commands open, German and English.
    struct Windows {
        HelpWindow *help, *helpEnglish;
        ReportWindow *report, *reportEnglish;
    };

    // Connects itself to the window's menus and donation label; a child of the
    // main window.
    HelpHandlers(Tprog &prog, const Windows &windows);

    // Opens the page an address item's caption names (the generated Software
    // items are connected to it by the menu builder).
    static void BrowseToMenuCaption(const QAction *item);

    // The topic items of the Online menu's submenus open fixed pages of the
    // current language's site, each its own row of the topic table.
    void online002Click() { openTopic("online002"); }
    void online003Click() { openTopic("online003"); }
    void online004Click() { openTopic("online004"); }
    void online005Click() { openTopic("online005"); }
    void online006Click() { openTopic("online006"); }
    void online007Click() { openTopic("online007"); }
    void online008Click() { openTopic("online008"); }
    void online009Click() { openTopic("online009"); }
    void online010Click() { openTopic("online010"); }
    void online011Click() { openTopic("online011"); }
    void online012Click() { openTopic("online012"); }
    void online013Click() { openTopic("online013"); }
    void online014Click() { openTopic("online014"); }
    void online015Click() { openTopic("online015"); }
    void online016Click() { openTopic("online016"); }
    void online017Click() { openTopic("online017"); }
    void online018Click() { openTopic("online018"); }
    void online019Click() { openTopic("online019"); }
    void online020Click() { openTopic("online020"); }
    void online021Click() { openTopic("online021"); }
    void online022Click() { openTopic("online022"); }
    void online023Click() { openTopic("online023"); }
    void online024Click() { openTopic("online024"); }
    void online101Click() { openTopic("online101"); }
    void online102Click() { openTopic("online102"); }
    void online103Click() { openTopic("online103"); }
    void online104Click() { openTopic("online104"); }
    void online105Click() { openTopic("online105"); }
    void online21Click() { openTopic("online21"); }
    void online22Click() { openTopic("online22"); }
    void online23Click() { openTopic("online23"); }
    void online24Click() { openTopic("online24"); }
    void online25Click() { openTopic("online25"); }
    void online26Click() { openTopic("online26"); }
    void spendenbuttonClick();
    void m_bugClick();
    void m_bug_iClick();
    void info1Click();
    void info2Click();
    void Software1Click();
    void anderesoft12Click();
    void info3Click();
    void info4Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openTopic(const char *item);
    // The help window of the current language, at the page.
    void openHelp(HelpWindow::Page page);
    ReportWindow *currentReportWindow() const;

    Tprog &m_prog;
    // Held apart from the window: the label still sends events to the filter
    // while the window is being destroyed.
    QLabel *const m_donationLabel;
    Windows m_windows;
};
