#pragma once

#include <QString>

class Connection;

// The practice's settings that belong to no table of their own, kept in the practice database
// (Schema::kSettingsTable) so that every workstation of a server works the same way. A practice
// made before the table, a missing row or a value that cannot be read gives the default.
namespace PracticeSettings {

// Minutes without a key press or a mouse movement after which the program locks itself;
// 0: it never locks by itself.
inline constexpr char kLockMinutesName[] = "lock_minutes";
inline constexpr int kDefaultLockMinutes = 10;
inline constexpr int kMaxLockMinutes = 480;

// Throw DbError when the database cannot be read or written.
int lockMinutes(Connection &connection);
void setLockMinutes(Connection &connection, int minutes);

// The stored text of a setting, or the default when it has no row.
QString value(Connection &connection, const QString &name, const QString &defaultValue);
// Writes one setting in a transaction of its own, creating the table when it is absent.
void setValue(Connection &connection, const QString &name, const QString &value);

} // namespace PracticeSettings
