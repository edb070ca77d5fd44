// The start-up windows for a person to look at on a real display with a window manager: the
// splash, then the main window maximised, then restored from maximised, then About over it.
//   xshot OUT "2 5 8 11" -- ./app_screenshots
#include "aboutwindow.h"
#include "accesswindows.h"
#include "mainwindow.h"
#include "program.h"
#include "splashwindow.h"
#include "startupanswers.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    QApplication::setQuitOnLastWindowClosed(false);
    TestSupport::TempPractice practice;
    QDir::setCurrent(practice.dir());
    TestSupport::RecordingMessages messages;

    SplashWindow splash;
    splash.show();

    std::unique_ptr<MainWindow> main;
    std::unique_ptr<AboutWindow> about;
    QTimer::singleShot(3500, [&] {
        // The start-up dialogue answered as a person would, without showing its windows.
        TestSupport::ModalDriver driver(answerStartup);
        main = std::make_unique<MainWindow>();
        main->showMaximized();
    });
    QTimer::singleShot(6500, [&] { main->setWindowState(Qt::WindowNoState); });
    QTimer::singleShot(9500, [&] {
        about = std::make_unique<AboutWindow>(main.get());
        about->show();
    });
    QTimer::singleShot(13000, [&] {
        about.reset();
        main->hide();
        app.quit();
    });
    return app.exec();
}
