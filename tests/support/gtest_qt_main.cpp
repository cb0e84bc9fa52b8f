// GoogleTest entry point for tests that need a Qt application object. The
// programme's own application class is used where a test needs its error handler.
#include <gtest/gtest.h>

#ifdef TONFANG_TEST_WITH_APP
#include "app/application.h"
using TestApplication = TonfangApplication;
#else
#include <QApplication>
using TestApplication = QApplication;
#endif

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
