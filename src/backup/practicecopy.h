#pragma once

#include "engine.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

class Connection;
struct sqlite3_stmt;
class ServerSession;

// Copies of a practice between the file and a server, and the checks every copy passes.
namespace PracticeCopy {

// One table of the practice as the checks see it.
struct TableShape {
    QString name;
    QStringList columns;
    QStringList numbers; // columns whose sums are compared
    QStringList texts;   // columns whose total lengths are compared
};

// Every table of the practice, read from the statements that create them: a table added to the
// schema is copied and checked by every copy without being named anywhere else.
QList<TableShape> tables();

// The figures the checks compare for one table, read in the caller's transaction: the number of
// rows, then the sum of every number column, then the total length of every text column.
QVariantList fileFigures(Connection &file, const TableShape &shape);
QVariantList serverFigures(ServerSession &server, const TableShape &shape);
// Whether the server database has the table: one made before a table was added has not, and
// reads as if that table were empty.
bool serverHasTable(ServerSession &server, const QString &table);

// The first figure that differs between two sides, as "APODEIKSEIS, sum of POSO: 40 in the
// file, 41 on the server" (the sides named by `firstSide` and `secondSide`); empty when all
// agree.
QString difference(const TableShape &shape, const QVariantList &first, const QVariantList &second,
                   const QString &firstSide, const QString &secondSide);

// "STOIXEIA_PELATH: 1204 rows".
QString rowsLine(const QString &table, qlonglong rows);

// A value read from the file as the server and the record sets take it.
QVariant fileValue(sqlite3_stmt *stmt, int column);

// Creates the practice's tables in the empty server database (the folder's data.mdb is only
// read) (a libpq connection text) and
// copies every row of every table of the file into them, in one transaction. Before the commit
// it compares each table on both sides: the number of rows, the sum of every number column and
// the total length of every text column; any difference rolls the copy back and is thrown as a
// DbError naming the table and column. The counters of the tables whose IDs the engine gives
// (patients, notes) continue after the highest ID copied. Returns a line per table:
// "STOIXEIA_PELATH: 1204 rows".
QStringList copyToServer(const QString &practiceFolder, const QString &serverConnection);

// The same from a practice file named by its path (a backup), opened read-only.
QStringList copyFileToServer(const QString &file, const QString &serverConnection);

// The tables whose IDs the engine gives (patients, notes).
bool hasCounter(const QString &table);

} // namespace PracticeCopy
