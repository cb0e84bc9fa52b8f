#pragma once
// A shown main window with helpers to find its controls by name and to type,
// paste and step the way a user does.

#include "core/displaytexts.h"
#include "editor/floatupdown.h"
#include "editor/swatch.h"
#include "editor/tprog.h"
#include "tests/support/eventually.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

class TprogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<Tprog>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QLineEdit *edit(const char *name) const
    {
        auto *field = window->findChild<QLineEdit *>(QString::fromLatin1(name));
        EXPECT_NE(field, nullptr) << name;
        return field;
    }
    TFloatUpDown *spin(const char *name) const
    {
        auto *control = window->findChild<TFloatUpDown *>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QString text(const char *name) const { return edit(name)->text(); }

    // Replaces the whole text, key by key, as typed over a selection.
    void type(const char *name, const QString &text)
    {
        QLineEdit *field = edit(name);
        field->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Delete);
        else
            QTest::keyClicks(field, text);
        ASSERT_EQ(field->text(), text);
    }
    // Replaces the whole text in one change, as a paste does.
    void paste(const char *name, const QString &text)
    {
        QLineEdit *field = edit(name);
        field->selectAll();
        field->insert(text);
        ASSERT_EQ(field->text(), text);
    }

    // One click on an arrow of a spin control, including the step it queues.
    void click(const char *spinName, bool upwards = true)
    {
        auto *arrow = spin(spinName)->findChild<QToolButton *>(
            upwards ? QStringLiteral("up") : QStringLiteral("down"));
        ASSERT_NE(arrow, nullptr);
        QTest::mouseClick(arrow, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }

    // The texts of all 24 model fields, in the synchroniser's order.
    std::vector<QString> allTexts() const
    {
        std::vector<QString> texts;
        for (int index = 0; index < tonfang::fieldCount; ++index)
            texts.push_back(window->field(tonfang::Field(index))->text());
        return texts;
    }

    std::unique_ptr<Tprog> window;
};
