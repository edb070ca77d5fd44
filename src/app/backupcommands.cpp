#include "backupcommands.h"

#include "appinfo.h"
#include "autobackup.h"
#include "backupsettingswindow.h"
#include "backuptexts.h"
#include "engine.h"
#include "messageservice.h"
#include "practicebackup.h"
#include "program.h"
#include "sealedbackup.h"
#include "sealedcopy.h"
#include "secretstore.h"
#include "window.h"

#include <QApplication>
#include <QEventLoop>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QStorageInfo>
#include <QThread>

#include <exception>
#include <memory>

#include <sys/stat.h>

namespace BackupCommands {

namespace {

std::function<QDateTime()> g_clock;
MyData::SecretStore *g_secrets = nullptr;

// The keyring of the copies' passphrase: a service of its own beside the e-books'.
MyData::SecretStore &secrets()
{
    static MyData::KeychainSecretStore keyring(QStringLiteral("Orvanta backups"));
    return g_secrets ? *g_secrets : keyring;
}

// The passphrase kept for the practice's copies, waited for (the keyring answers on the event
// loop, and may first ask the person to unlock it); empty when none is kept or the keyring
// cannot be reached.
QString storedPassphrase(const QString &practiceFolder)
{
    QString phrase;
    bool answered = false;
    QEventLoop loop;
    secrets().read(passphraseName(practiceFolder),
                   [&](bool found, const QString &secret, const QString &) {
                       if (found)
                           phrase = secret;
                       answered = true;
                       loop.quit();
                   });
    if (!answered)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return phrase;
}

// The passphrase of a sealed copy, typed by the person; empty when cancelled.
QString askPassphrase(QWidget *parent)
{
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("passphraseDialog"));
    dialog.setWindowTitle(AppInfo::title());
    dialog.setLabelText(BackupTexts::kAskPassphrase);
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setInputMode(QInputDialog::TextInput);
    if (ModalRunner::exec(&dialog) != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

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
    } catch (const SealedCopy::Error &e) {
        Messages::errorWithDetails(parent, what + QLatin1Char('\r') + SealedCopy::reason(e.fault()),
                                   e.message());
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

void setSecretStore(MyData::SecretStore *store)
{
    g_secrets = store;
}

QString passphraseName(const QString &practiceFolder)
{
    return QStringLiteral("backup-passphrase:%1").arg(QDir(practiceFolder).absolutePath());
}

QString passphraseForAutomaticCopy(const QString &practiceFolder)
{
    if (!SealedBackup::encryptionOn(practiceFolder))
        return {};
    return storedPassphrase(practiceFolder);
}

void settings(QWidget *parent)
{
    BackupSettingsWindow window(secrets(), Program::AppDir, parent);
    window.showModal();
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
    const bool sealed = SealedBackup::encryptionOn(practice);
    QString passphrase;
    if (sealed) {
        // Never a plain copy in place of the sealed one the practice asked for.
        passphrase = storedPassphrase(practice);
        if (passphrase.isEmpty()) {
            Messages::information(parent, BackupTexts::kNoStoredPassphrase);
            return;
        }
    }
    const QDateTime when = now();
    PracticeBackup::Outcome out;
    const std::exception_ptr failure
        = inBackground(parent, BackupTexts::kTaking, [&](const PracticeBackup::Progress &p) {
              out = sealed ? SealedBackup::backUp(practice, folder, when, passphrase, p)
                           : PracticeBackup::backUp(practice, folder, when, p);
          });
    if (failure)
        showFailure(parent, BackupTexts::kNotTaken, failure);
    else
        Messages::information(parent, BackupTexts::taken(QDir::toNativeSeparators(out.path),
                                                         out.bytes, sealed));
}

bool restore(QWidget *parent)
{
    const QString file = choose(parent, BackupTexts::kChooseBackup, QFileDialog::ExistingFile);
    if (file.isEmpty())
        return false;
    const QString practice = Program::AppDir;
    // A sealed copy is opened into a private folder first; from there on the plain copy goes
    // the way of any backup, and the folder goes when the restore is over.
    QString passphrase;
    if (SealedCopy::isSealed(file)) {
        passphrase = askPassphrase(parent);
        if (passphrase.isEmpty())
            return false;
    }
    std::unique_ptr<SealedBackup::OpenedCopy> opened;
    QString plainFile = file;
    bool onServer = false;
    PracticeBackup::Summary summary;
    // Checking a large backup takes a while: it is done as the copy itself is.
    const std::exception_ptr refused
        = inBackground(parent, BackupTexts::kChecking, [&](const PracticeBackup::Progress &) {
              onServer = EngineSettings::read(practice).engine == Engine::PostgreSQL;
              if (!passphrase.isEmpty()) {
                  opened = std::make_unique<SealedBackup::OpenedCopy>(file, passphrase, practice);
                  plainFile = opened->path();
              }
              summary = PracticeBackup::inspect(plainFile);
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
                      plainFile, EngineSettings::read(practice).serverConnection, when);
              else
                  result = PracticeBackup::restoreFile(plainFile, practice, when);
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
