#pragma once
// Waiting in GoogleTest tests. QTRY_COMPARE and friends report to QTest's own
// logger, so inside a GoogleTest they never fail the test: use these instead.
// They process events for up to five seconds until the condition holds; once a
// test has failed fatally they stop waiting, so one broken step does not add up
// to many timeouts.

#include <QString>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

#define TONFANG_WAIT_FOR(condition) \
    QTest::qWaitFor([&] { return bool(condition); }, \
                    ::testing::Test::HasFatalFailure() ? 0 : 5000)
#define ASSERT_EVENTUALLY(condition) \
    ASSERT_TRUE(TONFANG_WAIT_FOR(condition)) << "waited for " #condition
#define EXPECT_EVENTUALLY(condition) \
    EXPECT_TRUE(TONFANG_WAIT_FOR(condition)) << "waited for " #condition
#define ASSERT_EVENTUALLY_EQ(actual, expected) \
    do { \
        static_cast<void>(TONFANG_WAIT_FOR((actual) == (expected))); \
        ASSERT_EQ(actual, expected); \
    } while (false)
#define EXPECT_EVENTUALLY_EQ(actual, expected) \
    do { \
        static_cast<void>(TONFANG_WAIT_FOR((actual) == (expected))); \
        EXPECT_EQ(actual, expected); \
    } while (false)

// Lets GoogleTest show texts in its failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
