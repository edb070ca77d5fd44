#include "launcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace Launcher {

void openAddress(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address));
}

void calculator()
{
#ifdef Q_OS_WIN
    QProcess::startDetached(QStringLiteral("calc.exe"), {});
#else
    for (const char *name : {"gnome-calculator", "kcalc", "galculator", "mate-calc", "xcalc"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty()) {
            QProcess::startDetached(path, {});
            return;
        }
    }
#endif
}

} // namespace Launcher
