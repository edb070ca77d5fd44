#include "backupcommands.h"

#include "appinfo.h"
#include "autobackup.h"
#include "backuptexts.h"
#include "engine.h"
#include "messageservice.h"
#include "practicebackup.h"
#include "program.h"
#include "window.h"

#include <QApplication>
#include <QEventLoop>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QStorageInfo>
#include <QThread>

#include <exception>

#include <sys/stat.h>

namespace BackupCommands {

namespace {

std::function<QDateTime()> g_clock;

QDateTime now()
{
    return g_clock ? g_clock() : QDateTime::currentDateTime();
}

// A file dialogue of the program's own (not the platform's), shown through the modal seam.
// Where a copy is worth keeping: a removable medium when one is mounted, else the home folder;
// never the practice folder the program runs in, which the dialogue would offer by itself.
QString startFolder()
{
    QStringList removable;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isReady() && !volume.isReadOnly()
            && (root.startsWith(QLatin1String("/media/"))
                || root.startsWith(QLatin1String("/run/media/"))))
            removable << root;
    }
    return removable.size() == 1 ? removable.first() : QDir::homePath();
}

// The same file system as data.mdb, told by the device numbers of the two folders (which, unlike
// the mount table, every system answers for, a chroot and a container included).
bool onPracticeDisk(const QString &folder)
{
    struct stat chosen {};
    struct stat practice {};
    return ::stat(QFile::encodeName(folder).constData(), &chosen) == 0
        && ::stat(QFile::encodeName(Program::AppDir).constData(), &practice) == 0
        && chosen.st_dev == practice.st_dev;
}

QString choose(QWidget *parent, const QString &caption, QFileDialog::FileMode mode)
{
    QFileDialog dialog(parent, caption);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDirectory(startFolder());
    dialog.setFileMode(mode);
    if (mode == QFileDialog::Directory)
        dialog.setOption(QFileDialog::ShowDirsOnly);
    else
        dialog.setNameFilters({BackupTexts::kBackupFiles, QStringLiteral("*")});
    if (ModalRunner::exec(&dialog) != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

// Runs the work on a thread of its own while the window goes on painting and its clock ticks;
// what the person types or clicks meanwhile waits until the work is done. A progress dialogue
// appears when the work takes more than a moment. Returns the work's failure, if any.
std::exception_ptr inBackground(QWidget *parent, const QString &label,
                                const std::function<void(const PracticeBackup::Progress &)> &work)
{
    QProgressDialog dialog(label, QString(), 0, 1000, parent);
    dialog.setObjectName(QStringLiteral("backupProgress"));
    dialog.setWindowTitle(AppInfo::title());
    dialog.setMinimumWidth(420);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setCancelButton(nullptr);
    dialog.setMinimumDuration(500);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setValue(0);
    QPointer<QProgressDialog> shown(&dialog);

    std::exception_ptr failure;
    const PracticeBackup::Progress progress = [shown](qint64 done, qint64 total) {
        const int value = total > 0 ? int(done * 1000 / total) : -1;
        QMetaObject::invokeMethod(
            shown.data(),
            [shown, value] {
                if (!shown)
                    return;
                if (value >= 0) {
                    shown->setValue(value);
                } else if (shown->maximum() != 0) {
                    // Written: checking has no steps to count.
                    shown->setLabelText(BackupTexts::kCheckingCopy);
                    shown->setRange(0, 0);
                }
            },
            Qt::QueuedConnection);
    };
    QThread *thread = QThread::create([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    delete thread;
    QApplication::restoreOverrideCursor();
    return failure;
}

// The failure of the work as the error dialog shows it: what did not happen and why in Greek,
// the words of the system or the engine under the details.
void showFailure(QWidget *parent, const QString &what, const std::exception_ptr &failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const PracticeBackup::BackupError &e) {
        Messages::errorWithDetails(parent, what + QLatin1Char('\r') + BackupTexts::reason(e.failure()),
                                   e.message());
    } catch (const DbError &e) {
        Messages::errorWithDetails(parent, what, e.message());
    }
}

} // namespace

void setClock(std::function<QDateTime()> clock)
{
    g_clock = std::move(clock);
}

void backupNow(QWidget *parent)
{
    const QString folder = choose(parent, BackupTexts::kChooseFolder, QFileDialog::Directory);
    if (folder.isEmpty())
        return;
    if (onPracticeDisk(folder)
        && !Messages::askYesNoDefaultNo(parent,
                                        BackupTexts::sameDisk(QDir::toNativeSeparators(folder))))
        return;
    const QString practice = Program::AppDir;
    const QDateTime when = now();
    PracticeBackup::Outcome out;
    const std::exception_ptr failure
        = inBackground(parent, BackupTexts::kTaking, [&](const PracticeBackup::Progress &p) {
              out = PracticeBackup::backUp(practice, folder, when, p);
          });
    if (failure)
        showFailure(parent, BackupTexts::kNotTaken, failure);
    else
        Messages::information(parent, BackupTexts::taken(QDir::toNativeSeparators(out.path),
                                                         out.bytes));
}

bool restore(QWidget *parent)
{
    const QString file = choose(parent, BackupTexts::kChooseBackup, QFileDialog::ExistingFile);
    if (file.isEmpty())
        return false;
    const QString practice = Program::AppDir;
    bool onServer = false;
    PracticeBackup::Summary summary;
    // Checking a large backup takes a while: it is done as the copy itself is.
    const std::exception_ptr refused
        = inBackground(parent, BackupTexts::kChecking, [&](const PracticeBackup::Progress &) {
              onServer = EngineSettings::read(practice).engine == Engine::PostgreSQL;
              summary = PracticeBackup::inspect(file);
          });
    if (refused) {
        showFailure(parent, BackupTexts::kNotRestored, refused);
        return false;
    }
    // Enter must not replace the practice: No is the default answer.
    if (!Messages::askYesNoDefaultNo(parent, BackupTexts::confirmRestore(summary, onServer)))
        return false;

    const QDateTime when = now();
    QString result;
    const std::exception_ptr failure
        = inBackground(parent, BackupTexts::kRestoring, [&](const PracticeBackup::Progress &) {
              if (onServer)
                  result = PracticeBackup::restoreToServer(
                      file, EngineSettings::read(practice).serverConnection, when);
              else
                  result = PracticeBackup::restoreFile(file, practice, when);
          });
    if (failure) {
        showFailure(parent, BackupTexts::kNotRestored, failure);
        return false;
    }
    if (onServer) {
        Messages::information(parent, BackupTexts::restoredOnServer(result));
        return false;
    }
    Messages::information(parent,
                          BackupTexts::restoredFile(QDir::toNativeSeparators(
                              result.isEmpty() ? QString() : QFileInfo(result).fileName())));
    return true;
}

void reportFailedAutomaticCopy(QWidget *parent)
{
    const QString note = AutoBackup::takeFailureNote(Program::AppDir);
    if (!note.isEmpty())
        Messages::information(parent, BackupTexts::automaticCopyFailed(note));
}

} // namespace BackupCommands
