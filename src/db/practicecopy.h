#pragma once

#include <QString>
#include <QStringList>

// Moving a practice from one computer to several: its data.mdb copied into a server database.
namespace PracticeCopy {

// Creates the practice's tables in the empty server database (the folder's data.mdb is only
// read) (a libpq connection text) and
// copies every row of every table of the file into them, in one transaction. Before the commit
// it compares each table on both sides: the number of rows, the sum of every number column and
// the total length of every text column; any difference rolls the copy back and is thrown as a
// DbError naming the table and column. The counters of the tables whose IDs the engine gives
// (patients, notes) continue after the highest ID copied. Returns a line per table:
// "STOIXEIA_PELATH: 1204 rows".
QStringList copyToServer(const QString &practiceFolder, const QString &serverConnection);

} // namespace PracticeCopy
