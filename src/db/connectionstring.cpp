#include "connectionstring.h"

#include <QDir>
#include <QStringList>

namespace ConnectionString {

QString build(const QString &appDir)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=") + appDir
        + QStringLiteral("\\data.mdb")
        + QStringLiteral(";Persist Security Info=True;Jet OLEDB:Database Password=")
        + QLatin1String(kDatabasePassword);
}

Target parse(const QString &connectionText)
{
    Target t;
    const QStringList parts = connectionText.split(QLatin1Char(';'));
    for (const QString &part : parts) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = part.left(eq).trimmed();
        const QString value = part.mid(eq + 1);
        if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            t.dataSource = value;
        else if (key.compare(QLatin1String("Jet OLEDB:Database Password"), Qt::CaseInsensitive)
                 == 0)
            t.password = value;
    }
    return t;
}

QString localPath(const QString &path)
{
    if (QDir::separator() == QLatin1Char('/')) {
        QString p = path;
        p.replace(QLatin1Char('\\'), QLatin1Char('/'));
        // "/dir/" + "/data.mdb" must not become a double separator.
        while (p.contains(QLatin1String("//")))
            p.replace(QLatin1String("//"), QLatin1String("/"));
        return p;
    }
    return path;
}

} // namespace ConnectionString
