#include "help/helphandlers.h"

#include "editor/languagecode.h"
#include "editor/tprog.h"
#include "help/links.h"
#include "help/reportwindow.h"

#include <QAction>
#include <QLabel>
#include <QMouseEvent>

#include <utility>

namespace {

// The items whose caption is an address, in the Online, Info and Software menus.
constexpr const char *addressItems[] = {
    "online001", "online100", "online20", "online3", "online4", "online5",
    "online6", "online7", "online8", "online9", "online10",
    "info5", "info9", "info11", "info6", "info7", "info10", "info8", "info12",
    "soft_individuell_de", "soft_anpassung_de", "soft_individual_en", "soft_individualfit_en",
};

// The topic items and their handlers.
constexpr std::pair<const char *, void (HelpHandlers::*)()> topicHandlers[] = {
    {"online002", &HelpHandlers::online002Click}, {"online003", &HelpHandlers::online003Click},
    {"online004", &HelpHandlers::online004Click}, {"online005", &HelpHandlers::online005Click},
    {"online006", &HelpHandlers::online006Click}, {"online007", &HelpHandlers::online007Click},
    {"online008", &HelpHandlers::online008Click}, {"online009", &HelpHandlers::online009Click},
    {"online010", &HelpHandlers::online010Click}, {"online011", &HelpHandlers::online011Click},
    {"online012", &HelpHandlers::online012Click}, {"online013", &HelpHandlers::online013Click},
    {"online014", &HelpHandlers::online014Click}, {"online015", &HelpHandlers::online015Click},
    {"online016", &HelpHandlers::online016Click}, {"online017", &HelpHandlers::online017Click},
    {"online018", &HelpHandlers::online018Click}, {"online019", &HelpHandlers::online019Click},
    {"online020", &HelpHandlers::online020Click}, {"online021", &HelpHandlers::online021Click},
    {"online022", &HelpHandlers::online022Click}, {"online023", &HelpHandlers::online023Click},
    {"online024", &HelpHandlers::online024Click}, {"online101", &HelpHandlers::online101Click},
    {"online102", &HelpHandlers::online102Click}, {"online103", &HelpHandlers::online103Click},
    {"online104", &HelpHandlers::online104Click}, {"online105", &HelpHandlers::online105Click},
    {"online21", &HelpHandlers::online21Click}, {"online22", &HelpHandlers::online22Click},
    {"online23", &HelpHandlers::online23Click}, {"online24", &HelpHandlers::online24Click},
    {"online25", &HelpHandlers::online25Click}, {"online26", &HelpHandlers::online26Click},
};

} // namespace

HelpHandlers::HelpHandlers(Tprog &prog, const Windows &windows)
    : QObject(&prog)
    , m_prog(prog)
    , m_donationLabel(prog.spendenbutton)
    , m_windows(windows)
{
    setObjectName(QStringLiteral("helpHandlers"));
    const auto item = [&prog](const char *name) {
        return prog.findChild<QAction *>(QString::fromLatin1(name));
    };
    const auto bind = [this](QAction *action, void (HelpHandlers::*handler)()) {
        if (action)
            connect(action, &QAction::triggered, this, handler);
    };

    for (const char *name : addressItems)
        if (QAction *action = item(name))
            connect(action, &QAction::triggered, this, [action] { BrowseToMenuCaption(action); });
    for (const auto &[name, handler] : topicHandlers)
        bind(item(name), handler);

    bind(prog.m_bug, &HelpHandlers::m_bugClick);
    bind(item("m_bug_i"), &HelpHandlers::m_bug_iClick);
    bind(item("info1"), &HelpHandlers::info1Click);
    bind(item("info2"), &HelpHandlers::info2Click);
    bind(item("Software1"), &HelpHandlers::Software1Click);
    bind(prog.BriefDescriptionofallApplications1, &HelpHandlers::anderesoft12Click);
    bind(prog.anderesoft12, &HelpHandlers::anderesoft12Click);
    bind(item("info3"), &HelpHandlers::info3Click);
    bind(item("info4"), &HelpHandlers::info4Click);

    prog.spendenbutton->installEventFilter(this);
}

void HelpHandlers::BrowseToMenuCaption(const QAction *item)
{
    tonfang::openLink(tonfang::menuLinkAddress(item->text()));
}

void HelpHandlers::openTopic(const char *item)
{
    for (const tonfang::TopicPage &topic : tonfang::topicPages())
        if (qstrcmp(topic.item, item) == 0)
            tonfang::openLink(tonfang::topicAddress(topic, tonfang::languageIsGerman()));
}

void HelpHandlers::spendenbuttonClick()
{
    tonfang::openLink(tonfang::donationAddress(tonfang::languageIsGerman()));
}

bool HelpHandlers::eventFilter(QObject *watched, QEvent *event)
{
    // The donation label is clicked like a button: pressed and released on it.
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (watched == m_donationLabel && (press || release)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        if (release && m_donationLabel->rect().contains(mouse->position().toPoint()))
            spendenbuttonClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

ReportWindow *HelpHandlers::currentReportWindow() const
{
    return tonfang::languageIsGerman() ? m_windows.report : m_windows.reportEnglish;
}

void HelpHandlers::m_bugClick()
{
    currentReportWindow()->present();
}

void HelpHandlers::m_bug_iClick()
{
    currentReportWindow()->present();
}

void HelpHandlers::openHelp(HelpWindow::Page page)
{
    HelpWindow *window = tonfang::languageIsGerman() ? m_windows.help : m_windows.helpEnglish;
    window->openAt(page);
}

void HelpHandlers::info1Click() { openHelp(HelpWindow::IntroductionPage); }
void HelpHandlers::info2Click() { openHelp(HelpWindow::RecommendationsPage); }
void HelpHandlers::Software1Click() { openHelp(HelpWindow::SoftwarePage); }
void HelpHandlers::anderesoft12Click() { openHelp(HelpWindow::SoftwarePage); }
void HelpHandlers::info3Click() { openHelp(HelpWindow::DonationPage); }
void HelpHandlers::info4Click() { openHelp(HelpWindow::LicencePage); }
