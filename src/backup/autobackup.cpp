#include "autobackup.h"

#include "engine.h"
#include "sealedbackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>

#include <algorithm>

namespace AutoBackup {

QString folder(const QString &practiceFolder)
{
    const QDir practice(practiceFolder);
    const QString ini = practice.filePath(QLatin1String(EngineSettings::kFileName));
    QString named;
    if (QFileInfo(ini).isFile())
        named = QSettings(ini, QSettings::IniFormat)
                    .value(QStringLiteral("backup/folder"))
                    .toString()
                    .trimmed();
    return QDir::cleanPath(practice.absoluteFilePath(named.isEmpty() ? QLatin1String(kFolderName)
                                                                     : named));
}

QStringList toKeep(const QStringList &names, const QDateTime &now)
{
    struct Copy {
        QString name;
        QDateTime time;
    };
    QList<Copy> copies;
    QStringList keep;
    for (const QString &name : names) {
        const QDateTime time = SealedBackup::timeOfName(name);
        if (!time.isValid())
            continue;
        if (time > now)
            keep << name; // a copy from a clock that was ahead: not ours to judge
        else
            copies << Copy {name, time};
    }
    std::sort(copies.begin(), copies.end(),
              [](const Copy &a, const Copy &b) { return a.time > b.time; });

    // Newest first: the first copy met of a day or a month is its newest.
    QList<QDate> days;
    QList<int> months;
    const int thisMonth = now.date().year() * 12 + now.date().month() - 1;
    for (const Copy &c : copies) {
        const QDate day = c.time.date();
        const int month = day.year() * 12 + day.month() - 1;
        bool kept = false;
        if (!days.contains(day) && days.size() < kDailyCopies) {
            days << day;
            kept = true;
        }
        if (!months.contains(month)) {
            months << month;
            if (thisMonth - month < kMonthlyCopies)
                kept = true;
        }
        if (kept)
            keep << c.name;
    }
    return keep;
}

namespace {

QString notePath(const QString &practiceFolder)
{
    return QDir(practiceFolder).filePath(QLatin1String(kFailureNote));
}

} // namespace

Result atNormalEnd(const QString &practiceFolder, const QDateTime &now, const QString &passphrase)
{
    Result result;
    const QString target = folder(practiceFolder);
    const bool sealed = SealedBackup::encryptionOn(practiceFolder);
    try {
        // Never a plain copy in place of the sealed one the practice asked for.
        if (sealed && passphrase.isEmpty())
            throw PracticeBackup::BackupError(
                PracticeBackup::Failure::Source,
                QStringLiteral("Η φράση κρυπτογράφησης δεν βρέθηκε στην κλειδοθήκη του "
                               "υπολογιστή· δεν γράφτηκε μη κρυπτογραφημένο αντίγραφο στη θέση "
                               "του."));
        if (!QDir().mkpath(target))
            throw PracticeBackup::BackupError(
                PracticeBackup::Failure::NotWritable,
                QStringLiteral("The folder '%1' cannot be created.").arg(target));
        result.outcome = sealed
            ? SealedBackup::backUp(practiceFolder, target, now, passphrase)
            : PracticeBackup::backUp(practiceFolder, target, now);
        result.ok = true;
    } catch (const DbError &e) {
        result.failure = e.message();
        QFile note(notePath(practiceFolder));
        if (note.open(QIODevice::WriteOnly | QIODevice::Truncate))
            note.write(QStringLiteral("%1\n%2\n")
                           .arg(now.toString(QStringLiteral("d/M/yyyy HH:mm")), e.message())
                           .toUtf8());
        return result;
    }
    QFile::remove(notePath(practiceFolder));

    const QDir dir(target);
    // Sealed and plain copies are kept by the same rule, as one series.
    const QStringList names = dir.entryList(
        {QStringLiteral("orvanta-*.mdb"), QStringLiteral("orvanta-*.mdb.sealed")}, QDir::Files,
        QDir::Name);
    const QStringList keep = toKeep(names, now);
    for (const QString &name : names) {
        if (keep.contains(name) || !SealedBackup::timeOfName(name).isValid())
            continue;
        if (QFile::remove(dir.filePath(name)))
            result.removed << name;
    }
    return result;
}

QString takeFailureNote(const QString &practiceFolder)
{
    QFile note(notePath(practiceFolder));
    if (!note.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(note.readAll()).trimmed();
    note.close();
    note.remove();
    return text;
}

} // namespace AutoBackup
