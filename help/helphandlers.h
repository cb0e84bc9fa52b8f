#pragma once
// The main window's help and link commands: address items that open the page
// written in their caption, the Online menu's topic items, the donation label,
// the report and help window commands of the File, Info and Software menus.

#include "help/helpwindow.h"

#include <QObject>

class QAction;
class ReportWindow;
class Tprog;

namespace tonfang {
struct TopicPage;
}

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

    // The topic items online002 ... online26 open fixed pages of the current
    // language's site, one row of the topic table each.
    void onlineTopicClick(const tonfang::TopicPage &topic);
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
    // The help window of the current language, at the page.
    void openHelp(HelpWindow::Page page);
    ReportWindow *currentReportWindow() const;

    Tprog &m_prog;
    Windows m_windows;
};
