#pragma once
// The main window with the copy handlers and the affixes dialog installed the
// way the start-up installs them, shown in German with #FF8000 current.

#include "clipboard/copyhandlers.h"
#include "clipboard/teinhuser.h"
#include "editor/languagecode.h"
#include "editor/tprog.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

class CopyWindows : public ::testing::Test {
public:
    void SetUp() override
    {
        tonfang::setLanguageCode(QStringLiteral("de"));
        prog = std::make_unique<Tprog>();
        units = std::make_unique<Teinhuser>();
        new CopyHandlers(*prog, *units);
        prog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(prog.get()));
        prog->RGBtoALL({255, 128, 0});
    }
    void TearDown() override
    {
        units.reset();
        prog.reset();
    }

    std::unique_ptr<Tprog> prog;
    std::unique_ptr<Teinhuser> units;
};
