#include "engine.h"

#include "dberror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace EngineSettings {

DataLocation read(const QString &folder)
{
    const QString path = QDir(folder).filePath(QLatin1String(kFileName));
    DataLocation location;
    if (!QFileInfo(path).isFile())
        return location;
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        throw DbError(QStringLiteral("The settings file '%1' cannot be read.").arg(path));
    const QString engine = ini.value(QStringLiteral("database/engine")).toString().trimmed();
    if (engine.isEmpty() || engine.compare(QLatin1String("sqlite"), Qt::CaseInsensitive) == 0)
        return location;
    if (engine.compare(QLatin1String("postgresql"), Qt::CaseInsensitive) != 0)
        throw DbError(QStringLiteral("The settings file '%1' names an unknown engine '%2'.")
                          .arg(path, engine));
    // A value with '=' or ',' reads back as a list unless it was quoted: join it again.
    const auto text = [&](const QString &key) {
        const QVariant v = ini.value(key);
        return (v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(','))
                                                     : v.toString())
            .trimmed();
    };
    const QString service = text(QStringLiteral("database/service"));
    const QString connection = text(QStringLiteral("database/connection"));
    if (!connection.isEmpty())
        location.serverConnection = connection;
    else if (!service.isEmpty())
        location.serverConnection = QStringLiteral("service=") + service;
    else
        throw DbError(
            QStringLiteral("The settings file '%1' names no service and no connection.").arg(path));
    static const QRegularExpression password(QStringLiteral("(^|\\s)password\\s*="),
                                             QRegularExpression::CaseInsensitiveOption);
    if (password.match(location.serverConnection).hasMatch())
        throw DbError(QStringLiteral("The settings file '%1' must not hold a password: keep it in "
                                     "~/.pgpass or the service file.")
                          .arg(path));
    location.engine = Engine::PostgreSQL;
    return location;
}

void writeServer(const QString &folder, const QString &serverConnection)
{
    QFile file(QDir(folder).filePath(QLatin1String(kFileName)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        throw DbError(QStringLiteral("The file \"%1\" cannot be written.").arg(file.fileName()));
    QString quoted = serverConnection;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('"'), QLatin1String("\\\""));
    file.write(
        QStringLiteral("[database]\nengine=postgresql\nconnection=\"%1\"\n").arg(quoted).toUtf8());
}

} // namespace EngineSettings
