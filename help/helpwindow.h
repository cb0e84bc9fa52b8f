#pragma once
// The help windows: five pages of fixed text under a header picture, one
// window with German texts (Thilfe) and one with English texts (Thilfe_en).
// Nothing in them is translated at run time; the Info and Software commands
// pick the window of the current language and turn it to a page.
//
// Both are created hidden at start-up, but only as an empty frame: the pages'
// texts, pictures and the software overview are built when the window is first
// needed, so that a run that never opens the help pays almost nothing for it.

#include "help/toolwindow.h"

#include <array>

class QFrame;
class QLabel;
class QPushButton;
class QTabWidget;
class SoftwareFrame;

class HelpWindow : public ToolWindow {
    Q_OBJECT
public:
    // The pages in page-control order.
    enum Page { IntroductionPage, RecommendationsPage, SoftwarePage, DonationPage, LicencePage };

    bool isGerman() const { return m_german; }

    // Turns the window to the page, then shows it, or brings it to the front
    // when it is already shown.
    void openAt(Page page);

    // The page before or after the current one, wrapping around at the ends;
    // the change goes through the page control as a click on a tab would.
    void previousPage();
    void nextPage();

    // A press of any mouse button on the header picture lets the window
    // manager move the window with the pointer, as from its title bar.
    void Image2MouseDown();

    // Opens a label's address, marked as coming from the help.
    void BrowseToCaption(const QLabel *label);

    void ensureContents() override;
    bool contentsBuilt() const { return m_contentsBuilt; }

    QTabWidget *pageControl() const { return m_pages; }
    QWidget *page(Page page) const { return m_pageWidgets[std::size_t(page)]; }
    // The software overview; null until the contents are built.
    SoftwareFrame *softwareFrame() const { return m_overview; }

protected:
    struct Names {
        const char *window, *panel, *header, *pages, *back, *next;
    };
    HelpWindow(bool german, const Names &names);

    bool eventFilter(QObject *watched, QEvent *event) override;

    QFrame *m_panel;
    QLabel *m_header;
    QTabWidget *m_pages;
    QPushButton *m_back;
    QPushButton *m_next;

private:
    void stepPage(int direction);
    void buildPage(Page page);
    QWidget *pictureBox(const QString &resource);

    const bool m_german;
    bool m_contentsBuilt = false;
    std::array<QWidget *, 5> m_pageWidgets{};
    SoftwareFrame *m_overview = nullptr;
};

class Thilfe : public HelpWindow {
    Q_OBJECT
public:
    Thilfe();

    QFrame *const pinfo_de;
    QLabel *const Image2;
    QTabWidget *const pcide;
    QPushButton *const btide1, *const btide2;
    QWidget *const tide1, *const tide2, *const tidesoft, *const tide3, *const tide4;

    void btide1Click() { previousPage(); }
    void btide2Click() { nextPage(); }
};

class Thilfe_en : public HelpWindow {
    Q_OBJECT
public:
    Thilfe_en();

    QFrame *const pinfo_en;
    QLabel *const Image3;
    QTabWidget *const pcien;
    QPushButton *const btien1, *const btien2;
    QWidget *const tien1, *const tien2, *const tiensoft, *const tien3, *const tien4;

    void btien1Click() { previousPage(); }
    void btien2Click() { nextPage(); }
};
