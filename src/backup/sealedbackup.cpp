#include "sealedbackup.h"

#include "engine.h"
#include "sealedcopy.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace SealedBackup {

namespace {

const QString kKey = QStringLiteral("backup/encrypted");

QString iniPath(const QString &practiceFolder)
{
    return QDir(practiceFolder).filePath(QLatin1String(EngineSettings::kFileName));
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

using PracticeBackup::BackupError;
using PracticeBackup::Failure;

// What a failure to write the sealed copy means: a full disk is told apart by the room left.
Failure writeFailure(const QString &folder, qint64 needed)
{
    const QStorageInfo volume(folder);
    return volume.isValid() && volume.bytesAvailable() < needed ? Failure::DiskFull
                                                                : Failure::NotWritable;
}

} // namespace

bool encryptionOn(const QString &practiceFolder)
{
    const QString ini = iniPath(practiceFolder);
    return QFileInfo(ini).isFile()
        && QSettings(ini, QSettings::IniFormat).value(kKey, false).toBool();
}

void setEncryptionOn(const QString &practiceFolder, bool on)
{
    QSettings settings(iniPath(practiceFolder), QSettings::IniFormat);
    if (on)
        settings.setValue(kKey, true);
    else
        settings.remove(kKey);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw DbError(QStringLiteral("The file '%1' cannot be written.")
                          .arg(iniPath(practiceFolder)));
}

QString fileName(const QDateTime &when)
{
    return PracticeBackup::fileName(when) + QLatin1String(SealedCopy::kSuffix);
}

QDateTime timeOfName(const QString &name)
{
    const QString suffix = QLatin1String(SealedCopy::kSuffix);
    return PracticeBackup::timeOfName(name.endsWith(suffix) ? name.chopped(suffix.size()) : name);
}

bool acceptable(const QString &passphrase)
{
    return passphrase.size() >= kMinimumLength && !passphrase.front().isSpace()
        && !passphrase.back().isSpace();
}

QString readPassphraseFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("The passphrase file '%1' cannot be read: %2")
                          .arg(path, file.errorString()));
    QByteArray bytes = file.read(4096);
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    const QString passphrase = QString::fromUtf8(bytes);
    bytes.fill('\0');
    if (!acceptable(passphrase))
        throw DbError(QStringLiteral("The passphrase in '%1' is shorter than %2 characters or "
                                     "begins or ends with a blank.")
                          .arg(path)
                          .arg(kMinimumLength));
    return passphrase;
}

std::unique_ptr<QTemporaryDir> privateFolder(const QString &practiceFolder)
{
    auto dir = std::make_unique<QTemporaryDir>(
        QDir(practiceFolder).filePath(QStringLiteral(".orvanta-sealing-XXXXXX")));
    if (!dir->isValid())
        dir = std::make_unique<QTemporaryDir>();
    if (!dir->isValid())
        throw BackupError(Failure::NotWritable,
                          QStringLiteral("No private folder for the copy: %1")
                              .arg(dir->errorString()));
    return dir;
}

PracticeBackup::Outcome backUp(const QString &practiceFolder, const QString &destinationFolder,
                               const QDateTime &when, const QString &passphrase,
                               const PracticeBackup::Progress &progress, Timing *timing)
{
    Timing t;
    QElapsedTimer clock;
    clock.start();
    if (!QFileInfo(destinationFolder).isDir())
        throw BackupError(Failure::NotWritable,
                          QStringLiteral("The folder '%1' does not exist.").arg(destinationFolder));
    const std::unique_ptr<QTemporaryDir> work = privateFolder(practiceFolder);
    PracticeBackup::Outcome out
        = PracticeBackup::backUp(practiceFolder, work->path(), when, progress);
    t.plainNs = clock.nsecsElapsed();

    const QDir destination(destinationFolder);
    const QString finalPath = destination.filePath(fileName(when));
    const QString part = destination.filePath(QLatin1Char('.') + fileName(when)
                                              + QStringLiteral(".part"));
    // The sealed copy is the plain one and 25 bytes a chunk, and a header.
    const qint64 needed = out.bytes + out.bytes / 4096 + 4096;
    struct RemovePart {
        QString path;
        bool keep = false;
        ~RemovePart()
        {
            if (!keep)
                QFile::remove(path);
        }
    } removePart {part};
    clock.restart();
    SealedCopy::Timing sealTiming;
    try {
        sealTiming = SealedCopy::seal(out.path, part, passphrase);
    } catch (const SealedCopy::Error &e) {
        throw BackupError(writeFailure(destinationFolder, needed), e.message());
    }
    t.sealNs = clock.nsecsElapsed();
    t.deriveNs = sealTiming.deriveNs;

    clock.restart();
    try {
        SealedCopy::Timing checkTiming;
        if (!SealedCopy::sameAs(part, out.path, passphrase, {}, &checkTiming))
            throw BackupError(Failure::Verification,
                              QStringLiteral("The sealed copy does not open into the checked "
                                             "copy."));
        t.deriveNs += checkTiming.deriveNs;
    } catch (const SealedCopy::Error &e) {
        throw BackupError(Failure::Verification, e.message());
    }
    t.checkNs = clock.nsecsElapsed();

    if (::rename(QFile::encodeName(part).constData(), QFile::encodeName(finalPath).constData())
        != 0)
        throw BackupError(Failure::NotWritable,
                          QStringLiteral("The copy could not be named '%1': %2")
                              .arg(finalPath, QString::fromLocal8Bit(std::strerror(errno))));
    removePart.keep = true;
    syncFolder(destinationFolder);

    out.copyMs += t.sealNs / 1000000;
    out.verifyMs += t.checkNs / 1000000;
    out.path = finalPath;
    out.bytes = QFileInfo(finalPath).size();
    if (timing)
        *timing = t;
    return out;
}

OpenedCopy::OpenedCopy(const QString &sealedFile, const QString &passphrase,
                       const QString &practiceFolder)
{
    try {
        m_dir = privateFolder(practiceFolder);
    } catch (const BackupError &e) {
        throw SealedCopy::Error(SealedCopy::Fault::Io, e.message());
    }
    m_path = QDir(m_dir->path()).filePath(QStringLiteral("opened"));
    SealedCopy::open(sealedFile, m_path, passphrase);
}

OpenedCopy::~OpenedCopy() = default;

} // namespace SealedBackup
