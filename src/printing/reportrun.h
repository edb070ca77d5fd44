#pragma once

#include <QString>

class Connection;
class Query;
class Table;
class ReportProject;

// How every printing action runs a report:
//  1. close the window's connection and open it again as every window does
//     (ProgramConnection::open);
//  2. close the query, clear its text, give it the SELECT text and open it (or open the table);
//  3. give the report component AppDir followed by the layout's file name ("\LIST.RAV");
//  4. run the report;
//  5. close the query and clear its text (or close the table), and close the connection.
// A failure in steps 1-4 throws (DbError or ReportError) and step 5 does not run: the query and
// the connection stay open until the window closes or its next run, whose step 1 rebuilds the
// connection.
namespace ReportRun {

void run(Connection &connection, Query &query, const QString &selectText, ReportProject &report,
         const QString &layoutFileName);
void run(Connection &connection, Table &table, ReportProject &report,
         const QString &layoutFileName);

// An ID that another window hands over for a printout's SELECT, as SQL text: the whole number
// it holds (blanks around it allowed). Anything else throws DbError, so that no text but a
// number ever reaches the SQL and nothing runs.
QString idText(const QString &id);

} // namespace ReportRun
