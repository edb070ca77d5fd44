#include "exportfile.h"

#include "exporttexts.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace ExportFile {

namespace {

[[noreturn]] void fail(const QString &path, const QString &why, const QString &system = {})
{
    QString message = ExportTexts::notWritten(QDir::toNativeSeparators(path), why);
    if (!system.isEmpty())
        message += QLatin1Char('\r') + system;
    throw ExportError(message);
}

} // namespace

void save(const QString &path, const Writer &write)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        fail(path, ExportTexts::kNoFolder);
    if (target.isDir())
        fail(path, ExportTexts::kIsFolder);
    QSaveFile file(path);
    // Never fall back to writing over the file in place: a half-written file under the chosen
    // name is what this is here to prevent.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        fail(path, ExportTexts::kFolderNotWritable, file.errorString());
    const bool written = write(file);
    if (!written || file.error() != QFileDevice::NoError) {
        const QString system = file.errorString();
        file.cancelWriting();
        fail(path, ExportTexts::kWriteFailed, written ? system : QString());
    }
    if (!file.commit())
        fail(path, ExportTexts::kWriteFailed, file.errorString());
}

void save(const QString &path, const QByteArray &content)
{
    save(path, [&content](QIODevice &device) {
        return device.write(content) == content.size();
    });
}

} // namespace ExportFile
