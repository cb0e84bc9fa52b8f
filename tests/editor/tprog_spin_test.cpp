// The spin controls of the window: each step starts from the field's text,
// moves by the step setting, clamps, and the field's handler takes it from there.
#include "tprog_testing.h"

#include <QWheelEvent>

namespace {

struct Step {
    const char *control;
    int precision;
    double increment;
    QString fieldText;
    QString expected;
};

void PrintTo(const Step &step, std::ostream *out)
{
    *out << step.control << " precision " << step.precision << " step " << step.increment
         << " from '" << step.fieldText.toStdString() << "'";
}

class TprogSpinTest : public TprogTest, public ::testing::WithParamInterface<Step> {};

const std::vector<Step> steps = {
    {"ud_pg", 2, 1, "50 %", "51"},               // a unit behind a blank is cut off
    {"ud_pg", 2, 1, " 50", "1"},                 // nothing before the blank: stored 0 steps
    {"ud_hsvS", 2, 0.1, "50", "50.1"},
    {"ud_hsvS", 0, 0.1, "50", "50"},             // the step rounds to 0 units
    {"ud_hsvS", 0, 0.5, "50", "50"},             // 0.5 rounds to the even 0
    {"ud_hsvS", 0, 1.5, "50", "52"},             // 1.5 rounds to the even 2
    {"ud_hsvS", 4, 1, "50", "51"},
    {"ud_hsvS", 2, 1, "0.333333333333333333", "1.33333333333333"},
    {"ud_tcolor", 2, 1, "2147483646", "2147483647"},
    {"ud_tcolor", 2, 1, "2147483647", "2147483647"},
    {"ud_tcolor", 13, 20, "2147483600", "2147483620"}, // beyond 32-bit units
    {"ud_tcolor", 9, 1000, "2147483000", "2147483647"},
};

} // namespace

TEST_P(TprogSpinTest, ArrowClickStepsTheFieldText)
{
    const Step &step = GetParam();
    TFloatUpDown *control = spin(step.control);
    control->setPrecision(step.precision);
    control->setIncrement(step.increment);
    paste(qPrintable("e_" + QString::fromLatin1(step.control).mid(3)), step.fieldText);
    click(step.control);
    EXPECT_EQ(control->Associate()->text(), step.expected);
}
INSTANTIATE_TEST_SUITE_P(Window, TprogSpinTest, ::testing::ValuesIn(steps));

TEST_F(TprogTest, StepAtTheBoundWritesNothing)
{
    type("e_red", "255");
    QSignalSpy changes(edit("e_red"), &QLineEdit::textChanged);
    click("ud_red");
    click("ud_red");
    EXPECT_EQ(text("e_red"), "255");
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(TprogTest, TextAboveTheMaximumIsClampedByTheFirstStepOnly)
{
    paste("e_pr", "150");
    EXPECT_EQ(text("e_hex"), "#000000") << "150 % is no colour";
    click("ud_pr");
    EXPECT_EQ(text("e_pr"), "100");
    EXPECT_EQ(text("e_hex"), "#FF0000") << "the clamped text goes through the handler";

    // With the stored position already at the maximum nothing is read or written.
    paste("e_pr", "150");
    click("ud_pr");
    EXPECT_EQ(text("e_pr"), "150");
}

TEST_F(TprogTest, KeysAndWheelOnTheFieldStepToo)
{
    QLineEdit *green = edit("e_green");
    QTest::keyClick(green, Qt::Key_Up);
    ASSERT_EVENTUALLY_EQ(green->text(), QString("1"));
    EXPECT_EQ(text("e_hex"), "#000100");
    QTest::keyClick(green, Qt::Key_Down);
    ASSERT_EVENTUALLY_EQ(green->text(), QString("0"));

    const QPointF middle = QRectF(green->rect()).center();
    QWheelEvent notchUp(middle, green->mapToGlobal(middle), QPoint(), QPoint(0, 120),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(green, &notchUp);
    ASSERT_EVENTUALLY_EQ(green->text(), QString("1"));
}

TEST_F(TprogTest, StepWithAnotherFieldOfTheModelEmptyChangesOnlyTheText)
{
    paste("e_blue", "");
    click("ud_red");
    EXPECT_EQ(text("e_red"), "1");
    EXPECT_EQ(text("e_hex"), "#000000");
}
