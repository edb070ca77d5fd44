// The lock for a person to look at on a real display with a window manager: the main window
// with a patient window holding typed text, then locked, then a wrong password, then unlocked,
// then the setting.
//   xshot OUT "2 5 8 11 14 17" -- ./lock_screenshots
#include "locksettingwindow.h"
#include "lockwindow.h"
#include "mainwindow.h"
#include "patientdatawindow.h"
#include "patientfieldsform.h"
#include "screenlock.h"
#include "startupanswers.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    QApplication::setQuitOnLastWindowClosed(false);
    TestSupport::TempPractice practice;
    QDir::setCurrent(practice.dir());
    practice.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) "
                                 "VALUES('Γιώργος','Παπαδόπουλος')"));
    std::unique_ptr<MainWindow> main;
    {
        TestSupport::RecordingMessages quiet;
        TestSupport::ModalDriver driver(answerStartup);
        main = std::make_unique<MainWindow>();
    }
    main->showMaximized();
    PatientDataWindow patient(main.get());
    patient.PatientId = practice.scalar(QStringLiteral("SELECT MAX(ID) FROM STOIXEIA_PELATH"));
    patient.show();
    patient.form()->edit(QStringLiteral("DIEYTHYNSH"))->setText(QStringLiteral("Οδός Ερμού 12"));

    QTimer::singleShot(3000, [&] { main->screenLock()->lockNow(); });
    QTimer::singleShot(9000, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    QTimer::singleShot(6000, [&] {
        LockWindow *lock = main->screenLock()->lockWindow();
        lock->passwordEdit()->setText(QStringLiteral("λάθος"));
        lock->unlockButton()->click(); // the login's message, over the lock window
        lock->passwordEdit()->setText(QStringLiteral("abc"));
        lock->unlockButton()->click();
    });
    QTimer::singleShot(12000, [&] {
        auto *setting = new LockSettingWindow(main.get());
        setting->show();
    });
    QTimer::singleShot(15000, [&] {
        if (auto *w = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            w->close();
        auto *options = main->findChild<QMenu *>(QStringLiteral("menuOptions"));
        options->popup(QPoint(10, 40));
        auto *settings = main->findChild<QMenu *>(QStringLiteral("menuSettings"));
        options->setActiveAction(settings->menuAction());
        settings->popup(QPoint(10 + options->width(), 40 + options->height() - 60));
    });
    return app.exec();
}
