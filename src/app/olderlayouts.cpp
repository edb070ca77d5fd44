#include "olderlayouts.h"

#include <QDir>
#include <QFile>

namespace OlderLayouts {

QStringList take(const QString &practiceFolder)
{
    QFile file(QDir(practiceFolder).filePath(QLatin1String(kFileName)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList names;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString name = QString::fromUtf8(line).trimmed();
        if (!name.isEmpty() && !names.contains(name))
            names << name;
    }
    file.close();
    file.remove();
    return names;
}

} // namespace OlderLayouts
