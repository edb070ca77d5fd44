// "Backup now" for a person to look at on a real display with a window manager: the main
// window's menu with the two entries, the progress while a large practice is copied, and the
// box that says where the copy is.
//   xshot OUT "3 5 6 8" -- ./backup_screenshots
#include "backupcommands.h"
#include "mainwindow.h"
#include "startupanswers.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <sqlite3.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    QApplication::setQuitOnLastWindowClosed(false);
    TestSupport::TempPractice practice;
    QDir::setCurrent(practice.dir());
    {
        // Enough visits for the copy to take a few seconds.
        sqlite3 *db = nullptr;
        sqlite3_open(practice.dbPath().toUtf8().constData(), &db);
        sqlite3_exec(db,
                     "BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE "
                     "i < 1500000) INSERT INTO EPISKEPSEIS(ID,HMEROMHNIA,AITIA,PERIGRAFH) SELECT i, "
                     "'2020-01-01', 'Οσφυαλγία ' || i, 'Κινησιοθεραπεία και ηλεκτροθεραπεία "
                     "στην οσφυϊκή μοίρα' FROM n; COMMIT;",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    QTemporaryDir usb;

    std::unique_ptr<MainWindow> main;
    std::unique_ptr<TestSupport::ModalDriver> driver;
    QTimer::singleShot(0, [&] {
        TestSupport::RecordingMessages quiet;
        TestSupport::ModalDriver startup(answerStartup);
        main = std::make_unique<MainWindow>();
        main->showMaximized();
        auto *options = main->findChild<QMenu *>(QStringLiteral("menuOptions"));
        QTimer::singleShot(1500, [options, &main] {
            options->popup(main->mapToGlobal(QPoint(4, main->menuBar()->height())));
        });
    });
    QTimer::singleShot(4000, [&] {
        main->findChild<QMenu *>(QStringLiteral("menuOptions"))->hide();
        driver = std::make_unique<TestSupport::ModalDriver>([&](QDialog *dialog) {
            if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
                files->selectFile(usb.path());
                return int(QDialog::Accepted);
            }
            return dialog->exec();
        });
        main->action(QStringLiteral("actBackupNow"))->trigger();
    });
    return app.exec();
}
