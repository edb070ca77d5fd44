#include "exportfile.h"

#include "exporttexts.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>
#include <vector>

namespace ExportFile {

namespace {

[[noreturn]] void fail(const QString &path, const QString &why, const QString &system = {})
{
    QString message = ExportTexts::notWritten(QDir::toNativeSeparators(path), why);
    if (!system.isEmpty())
        message += QLatin1Char('\r') + system;
    throw ExportError(message);
}

void checkTarget(const QString &path)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        fail(path, ExportTexts::kNoFolder);
    if (target.isDir())
        fail(path, ExportTexts::kIsFolder);
}

} // namespace

void save(const QString &path, const Writer &write)
{
    checkTarget(path);
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

void saveAll(const QList<Content> &files)
{
    for (const Content &f : files)
        checkTarget(f.path);
    std::vector<std::unique_ptr<QSaveFile>> pending;
    for (const Content &f : files) {
        auto file = std::make_unique<QSaveFile>(f.path);
        file->setDirectWriteFallback(false);
        if (!file->open(QIODevice::WriteOnly))
            fail(f.path, ExportTexts::kFolderNotWritable, file->errorString());
        if (file->write(f.bytes) != f.bytes.size() || file->error() != QFileDevice::NoError)
            fail(f.path, ExportTexts::kWriteFailed, file->errorString());
        pending.push_back(std::move(file));
    }
    // Every file is whole in its folder; only the renames remain.
    QStringList placed;
    for (size_t i = 0; i < pending.size(); ++i) {
        if (!pending[i]->commit()) {
            const QString system = pending[i]->errorString();
            for (const QString &done : placed)
                QFile::remove(done);
            fail(files.at(qsizetype(i)).path, ExportTexts::kWriteFailed, system);
        }
        placed << files.at(qsizetype(i)).path;
    }
}

} // namespace ExportFile
