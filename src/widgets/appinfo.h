#pragma once

#include <QColor>
#include <QString>

// Texts and colours that every window shares.
namespace AppInfo {

// The application title: task bar, and caption of every plain message box.
inline QString title()
{
    return QStringLiteral("Orvanta created by Daskel");
}
// The program's version, written once: CMake's project(VERSION) gives ORVANTA_VERSION.
inline QString version()
{
    return QStringLiteral(ORVANTA_VERSION);
}
inline QString versionText()
{
    return QStringLiteral("Version ") + version();
}
inline QString maker()
{
    return QStringLiteral("Daskel");
}
inline QString makerWebsite()
{
    return QStringLiteral("https://www.daskel.example");
}
inline QString makerEmail()
{
    return QStringLiteral("info@daskel.example");
}
inline QString rightsNotice()
{
    return QStringLiteral("© Daskel. Με την επιφύλαξη παντός δικαιώματος.");
}

// The background of every window.
inline QColor skyBlue()
{
    return QColor(0xA6, 0xCA, 0xF0);
}

} // namespace AppInfo
