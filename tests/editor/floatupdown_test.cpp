// The real-valued spin control, driven through its arrow buttons, the Up/Down
// keys and the mouse wheel on its field.
#include "editor/floatupdown.h"
#include "tests/support/eventually.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <QWidget>

#include <clocale>
#include <memory>

namespace {

class FloatUpDownTest : public ::testing::Test {
protected:
    void SetUp() override { attachNewControl(); }

    // A fresh field with a control attached, on a shown host; replaces the last.
    void attachNewControl()
    {
        host = std::make_unique<QWidget>();
        host->resize(200, 100);
        field = new QLineEdit(host.get());
        field->setGeometry(10, 20, 100, 21);
        spin = new TFloatUpDown(host.get());
        spin->setAssociate(field);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        up = spin->findChild<QToolButton *>(QStringLiteral("up"));
        down = spin->findChild<QToolButton *>(QStringLiteral("down"));
        ASSERT_NE(up, nullptr);
        ASSERT_NE(down, nullptr);
    }

    // Runs the step a click, key or wheel turn has queued.
    void finishSteps() { QCoreApplication::sendPostedEvents(spin, QEvent::MetaCall); }
    void click(QToolButton *arrow)
    {
        QTest::mouseClick(arrow, Qt::LeftButton);
        finishSteps();
    }
    void clickUp() { click(up); }
    void clickDown() { click(down); }

    QString sep() const { return TFloatUpDown::localeDecimalSeparator(); }
    // The text with "." as the locale's separator.
    QString number(QString text) const { return text.replace(QLatin1Char('.'), sep()); }

    std::unique_ptr<QWidget> host;
    QLineEdit *field = nullptr;
    TFloatUpDown *spin = nullptr;
    QToolButton *up = nullptr;
    QToolButton *down = nullptr;
};

TEST_F(FloatUpDownTest, AttachingWritesPositionAndPlacesButtonsAtTheFieldsRightEdge)
{
    EXPECT_EQ(field->text(), QStringLiteral("0"));
    EXPECT_EQ(spin->parentWidget(), host.get());
    EXPECT_EQ(spin->geometry(), QRect(93, 20, 17, 21));
    EXPECT_EQ(field->width(), 83);
    EXPECT_TRUE(spin->isVisible());

    // The window lays out lefts and widths itself; top and height follow the field.
    field->setGeometry(40, 50, 60, 30);
    EXPECT_EQ(spin->geometry(), QRect(93, 50, 17, 30));
    field->hide();
    EXPECT_FALSE(spin->isVisible());
    field->show();
    EXPECT_TRUE(spin->isVisible());
}

TEST_F(FloatUpDownTest, ClicksKeysAndWheelStepTheFieldsText)
{
    field->setText(QStringLiteral("7"));
    clickUp();
    EXPECT_EQ(field->text(), QStringLiteral("8"));
    clickDown();
    clickDown();
    EXPECT_EQ(field->text(), QStringLiteral("6"));

    field->setFocus();
    QTest::keyClick(field, Qt::Key_Up);
    // The step runs after the key has been handled; until then the text stands.
    EXPECT_EQ(field->text(), QStringLiteral("6"));
    EXPECT_EVENTUALLY_EQ(field->text(), QStringLiteral("7"));
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_EVENTUALLY_EQ(field->text(), QStringLiteral("6"));

    const auto turnOver = [&](QWidget *target, int angle) {
        QWheelEvent wheel(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, angle), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(target, &wheel);
        finishSteps();
    };
    const auto turn = [&](int angle) { turnOver(field, angle); };
    turn(120);
    EXPECT_EQ(field->text(), QStringLiteral("7"));
    turn(-240); // two notches at once
    EXPECT_EQ(field->text(), QStringLiteral("5"));
    turn(60); // half a notch from a touchpad does nothing yet ...
    EXPECT_EQ(field->text(), QStringLiteral("5"));
    turn(60); // ... the second half completes it
    EXPECT_EQ(field->text(), QStringLiteral("6"));
    turnOver(spin, 120); // over the arrows as well
    EXPECT_EQ(field->text(), QStringLiteral("7"));
}

TEST_F(FloatUpDownTest, AnArrowStepsWhenPressedNotWhenReleased)
{
    field->setText(QStringLiteral("7"));
    QTest::mousePress(up, Qt::LeftButton);
    finishSteps();
    EXPECT_EQ(field->text(), QStringLiteral("8"));
    QTest::mouseRelease(up, Qt::LeftButton);
    finishSteps();
    EXPECT_EQ(field->text(), QStringLiteral("8"));
}

TEST_F(FloatUpDownTest, ArrowsStepADisabledField)
{
    field->setText(number("0.5"));
    field->setEnabled(false);
    EXPECT_TRUE(spin->isEnabled());
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EVENTUALLY_EQ(field->text(), number("1.5"));
}

TEST_F(FloatUpDownTest, AStepAtABoundWritesNothing)
{
    spin->setPosition(100);
    ASSERT_EQ(field->text(), QStringLiteral("100"));
    QSignalSpy writes(field, &QLineEdit::textChanged);
    clickUp();
    spin->setMin(0); // an unchanged bound writes nothing either
    field->setCursorPosition(1);
    spin->setDefaultDecimalSign(true); // rewrites the same text: left alone
    EXPECT_EQ(writes.count(), 0);
    EXPECT_EQ(field->cursorPosition(), 1);
    EXPECT_EQ(spin->Position(), 100);

    spin->setPosition(0);
    writes.clear();
    clickDown();
    EXPECT_EQ(writes.count(), 0);
    EXPECT_EQ(field->text(), QStringLiteral("0"));
}

TEST_F(FloatUpDownTest, TextBeyondMaxIsClampedOnReadOnlyWhenThePositionMoves)
{
    spin->setPosition(50);
    field->setText(QStringLiteral("150"));
    QSignalSpy writes(field, &QLineEdit::textChanged);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(field->text(), QStringLiteral("100")); // the read, before the step
    finishSteps();
    EXPECT_EQ(field->text(), QStringLiteral("100"));
    EXPECT_EQ(writes.count(), 1);

    // The stored position is already the bound: the field keeps what it shows.
    field->setText(QStringLiteral("150"));
    clickUp();
    EXPECT_EQ(field->text(), QStringLiteral("150"));
}

TEST_F(FloatUpDownTest, ReadsTheFieldBeforeEachStep)
{
    const struct {
        const char *text;      // field text before the click ("." is the locale's separator)
        double storedPosition; // what the control held before
        const char *expected;  // field text after one click up
    } cases[] = {
        {"50", 0, "51"},
        {"50 %", 0, "51"},  // a unit behind a blank
        {" 50", 20, "21"},  // nothing before the blank: stored value
        {"abc", 20, "21"},  // not a number: stored value
        {"", 20, "21"},
        {"-5", 20, "1"},    // below Min: read as 0
        {"12.5", 0, "13.5"},
        {"1e1", 0, "11"},
        {"0.333333333333333333", 0, "1.33333333333333"},
        {"99.5", 0, "100"}, // the step is clamped too
    };
    for (const auto &c : cases) {
        ASSERT_NO_FATAL_FAILURE(attachNewControl());
        spin->setPosition(c.storedPosition);
        field->setText(number(QString::fromUtf8(c.text)));
        clickUp();
        EXPECT_EQ(field->text(), number(QString::fromUtf8(c.expected)))
            << '"' << c.text << "\" stored " << c.storedPosition;
    }
}

TEST_F(FloatUpDownTest, StepsByIncrementRoundedToThePrecision)
{
    constexpr double tcolorMax = 2147483647;
    const struct {
        int precision;
        double increment;
        double max;
        const char *start;
        int clicks; // positive: up, negative: down
        const char *expected;
    } cases[] = {
        {2, 0.1, 100, "50", 3, "50.3"},
        {2, 0.1, 100, "50", -2, "49.8"},
        {0, 0.1, 100, "50", 1, "50"},     // rounds to no step at all
        {0, 0.5, 100, "50", 1, "50"},     // half to even: 0
        {0, 1.5, 100, "50", 1, "52"},     // half to even: 2
        {0, 2.5, 100, "50", 1, "52"},
        {4, 1, 100, "5", 1, "6"},
        {2, 0.125, 100, "5", 1, "5.12"},  // 12.5 units: half to even 12
        {2, 0.375, 100, "5", 1, "5.38"},  // 37.5 units: half to even 38
        // Steps and bounds far beyond 32-bit units still step exactly and clamp.
        {9, 5, 100, "10", 1, "15"},
        {13, 20, 100, "10", 2, "50"},
        {2, 1, tcolorMax, "2147483645", 1, "2147483646"},
        {2, 1, tcolorMax, "2147483646", 3, "2147483647"},
        {2, 10, tcolorMax, "2147483640", -1, "2147483630"},
        {13, 1, tcolorMax, "2147483646", 2, "2147483647"},
        {13, 1, tcolorMax, "2147483647", -1, "2147483646"},
        {13, 1000, tcolorMax, "2147483000", 1, "2147483647"},
        // Units beyond 64 bits: the step stays exact, only the position is clamped.
        {13, 1e6, tcolorMax, "5", 1, "1000005"},
        {13, 1e6, tcolorMax, "3000000", -1, "2000000"},
        {13, 1e15, tcolorMax, "5", 1, "2147483647"},
        {2, 1e300, tcolorMax, "2147483000", 1, "2147483647"},
        {2, 1e300, tcolorMax, "2147483000", -1, "0"},
    };
    for (const auto &c : cases) {
        ASSERT_NO_FATAL_FAILURE(attachNewControl());
        spin->setMax(c.max);
        spin->setPrecision(c.precision);
        spin->setIncrement(c.increment);
        field->setText(number(QString::fromUtf8(c.start)));
        for (int i = 0; i < std::abs(c.clicks); ++i)
            c.clicks > 0 ? clickUp() : clickDown();
        EXPECT_EQ(field->text(), number(QString::fromUtf8(c.expected)))
            << "precision " << c.precision << " increment " << c.increment << " from " << c.start
            << " clicks " << c.clicks;
    }
}

TEST_F(FloatUpDownTest, ChangingPrecisionKeepsTheTextAndTheStep)
{
    field->setText(QStringLiteral("5"));
    clickUp();
    spin->setPrecision(4);
    EXPECT_EQ(field->text(), QStringLiteral("6"));
    clickUp();
    EXPECT_EQ(field->text(), QStringLiteral("7"));
    EXPECT_EQ(spin->Position(), 7);
}

TEST_F(FloatUpDownTest, BoundsClampThePosition)
{
    spin->setPosition(80);
    spin->setMax(50);
    EXPECT_EQ(spin->Position(), 50);
    EXPECT_EQ(field->text(), QStringLiteral("50"));
    spin->setMin(60); // Min above Max: Max wins
    EXPECT_EQ(spin->Position(), 50);
    spin->setMax(100);
    EXPECT_EQ(spin->Position(), 60);
    spin->setPosition(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(spin->Position(), 60);
    spin->setPosition(-std::numeric_limits<double>::infinity());
    EXPECT_EQ(spin->Position(), 60);
    spin->setPosition(std::numeric_limits<double>::infinity());
    EXPECT_EQ(spin->Position(), 100);
}

TEST_F(FloatUpDownTest, ACustomDecimalSignIsReadAndWritten)
{
    spin->setDecimalSign(QLatin1Char(','));
    EXPECT_FALSE(spin->DefaultDecimalSign());
    field->setText(QStringLiteral("12,5"));
    clickUp();
    EXPECT_EQ(field->text(), QStringLiteral("13,5"));

    spin->setDecimalSign(QChar()); // ignored
    EXPECT_EQ(spin->DecimalSign(), QLatin1Char(','));

    spin->setDefaultDecimalSign(true); // back to the locale, rewritten at once
    EXPECT_EQ(spin->DecimalSign(), sep().front());
    EXPECT_EQ(field->text(), number("13.5"));
}

TEST_F(FloatUpDownTest, ADetachedOrDestroyedFieldIsLeftAlone)
{
    field->setText(QStringLiteral("40"));
    spin->setAssociate(nullptr);
    clickUp();
    EXPECT_EQ(field->text(), QStringLiteral("40"));
    EXPECT_EQ(spin->Position(), 1);

    auto *other = new QLineEdit(host.get());
    other->show();
    spin->setAssociate(other);
    EXPECT_EQ(other->text(), QStringLiteral("1"));
    delete other;
    EXPECT_EQ(spin->Associate(), nullptr);
    spin->step(+1); // must not touch the deleted field
    finishSteps();
    EXPECT_EQ(spin->Position(), 2);
}

// Runs under the process's locale; the second ctest entry sets a German one.
TEST(FloatUpDownLocale, FollowsTheSystemDecimalSeparator)
{
    const QString separator = TFloatUpDown::localeDecimalSeparator();
    if (qgetenv("LC_ALL").startsWith("de_DE")) {
        EXPECT_EQ(separator, QStringLiteral(","));
        // The C library follows too, as on a real German desktop.
        ASSERT_STREQ(std::localeconv()->decimal_point, ",") << "the test locale is missing";
    }
    const QString other = separator == QStringLiteral(",") ? QStringLiteral(".")
                                                             : QStringLiteral(",");
    QWidget host;
    auto *field = new QLineEdit(&host);
    auto *spin = new TFloatUpDown(&host);
    spin->setAssociate(field);
    EXPECT_EQ(spin->DecimalSign(), separator.front());

    // Steps once from `text` and gives what the field shows then.
    const auto stepFrom = [&](const QString &text) {
        field->setText(text);
        spin->step(+1);
        QCoreApplication::sendPostedEvents(spin, QEvent::MetaCall);
        return field->text();
    };
    EXPECT_EQ(stepFrom("12" + separator + "5"), "13" + separator + "5");
    // The other sign is no decimal sign here: the stored position is stepped.
    EXPECT_EQ(stepFrom("2" + other + "5"), "14" + separator + "5");
}

} // namespace
