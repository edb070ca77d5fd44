#pragma once

#include "dberror.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class QIODevice;

// A file that could not be written, with a Greek message that names it and says why. A kind of
// DbError, so that Kit::guarded shows it in the error dialog like any other failure.
class ExportError : public DbError {
public:
    using DbError::DbError;
};

// The one way every export reaches its file: everything is written to a temporary file in the
// destination's folder, which takes the chosen name only once it is complete and flushed (a
// rename, so an older file of that name is replaced whole or not at all). A destination that
// cannot be written, a full disk or a writer that gives up leaves no file under the name.
namespace ExportFile {

// write() writes the whole content to the device and returns false to give up.
using Writer = std::function<bool(QIODevice &device)>;

// Throws ExportError when the file could not be written; nothing is left under the name then.
void save(const QString &path, const Writer &write);
void save(const QString &path, const QByteArray &content);

// Files that belong together (a patient's PDF and JSON): every one is written and flushed
// before any takes its name, and when one cannot take its name those already in place are
// removed again, so the folder ends with all of them or none.
struct Content {
    QString path;
    QByteArray bytes;
};
void saveAll(const QList<Content> &files);

} // namespace ExportFile
