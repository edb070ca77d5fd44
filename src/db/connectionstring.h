#pragma once

#include <QString>

namespace ConnectionString {

// The database password of every practice file; a constant of the program.
inline constexpr char kDatabasePassword[] = "KT40716ZAQ";

// The one connection text of the program, built from the working directory exactly as given.
QString build(const QString &appDir);

struct Target {
    QString dataSource; // path of the file, as named in the text
    QString password;   // the database password named in the text
};

// Reads Data Source and Jet OLEDB:Database Password out of a connection text.
Target parse(const QString &connectionText);

// A path written with backslashes ("C:\Practice\data.mdb" or "/home/x\data.mdb") as the local
// file system wants it: on a platform whose separator is '/', a backslash is a separator.
QString localPath(const QString &path);

} // namespace ConnectionString
