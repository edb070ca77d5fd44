#include "reportrun.h"

#include "connection.h"
#include "program.h"
#include "recordset.h"
#include "reportproject.h"

namespace ReportRun {

namespace {
void prepare(Connection &connection)
{
    connection.close();
    connection.setConnectionText(Program::DbConnectionString);
    connection.open();
}
} // namespace

void run(Connection &connection, Query &query, const QString &selectText, ReportProject &report,
         const QString &layoutFileName)
{
    prepare(connection);
    query.close();
    query.clearSql();
    query.addSql(selectText);
    query.open();
    report.setProjectFile(Program::AppDir + layoutFileName);
    report.execute();
    query.close();
    query.clearSql();
    connection.close();
}

void run(Connection &connection, Table &table, ReportProject &report,
         const QString &layoutFileName)
{
    prepare(connection);
    table.close();
    table.open();
    report.setProjectFile(Program::AppDir + layoutFileName);
    report.execute();
    table.close();
    connection.close();
}

} // namespace ReportRun
