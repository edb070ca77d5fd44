// GoogleTest's main for tests that need a Qt application (database driver, widgets).
#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // End the application as the program ends, so that what lives for the whole run (and is
    // released when the application quits) is released here too.
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    QApplication::exec();
    return result;
}
