#pragma once
// The main window with its Software menus, the help and report windows and
// the handlers that join them, as the start-up builds them; every address
// handed to the desktop is caught instead of opened.

#include "editor/languagecode.h"
#include "editor/tprog.h"
#include "help/addresslabel.h"
#include "help/helphandlers.h"
#include "help/helpwindow.h"
#include "help/reportwindow.h"
#include "help/softwaremenu.h"
#include "tests/support/eventually.h"

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

// Stands in for the desktop: records what it was asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QStringList opened;

public slots:
    void open(const QUrl &url) { opened << url.toString(); }
};

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
        tonfang::setLanguageCode(QStringLiteral("de"));
        prog = std::make_unique<Tprog>(tonfang::buildSoftwareMenus);
        new HelpHandlers(*prog, {&help, &helpEnglish, &report, &reportEnglish});
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        tonfang::setLanguageCode(QStringLiteral("de"));
    }

    void setLanguage(bool german)
    {
        tonfang::setLanguageCode(german ? QStringLiteral("de") : QStringLiteral("en"));
        prog->Sprache();
    }

    // What one user action opened: exactly one address, or a failure.
    template <typename Action>
    QString openedBy(Action action)
    {
        catcher.opened.clear();
        action();
        EXPECT_EQ(catcher.opened.size(), 1) << catcher.opened.join(' ').toStdString();
        return catcher.opened.value(0);
    }

    QAction *item(const char *name) const
    {
        auto *found = prog->findChild<QAction *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    UrlCatcher catcher;
    Thilfe help;
    Thilfe_en helpEnglish;
    Tbugreport_de report;
    Tbugreport_en reportEnglish;
    std::unique_ptr<Tprog> prog;
};
