#include "reportrun.h"

#include "connection.h"
#include "datawindow.h"
#include "dberror.h"
#include "program.h"
#include "recordset.h"
#include "reportproject.h"

namespace ReportRun {

QString idText(const QString &id)
{
    bool whole = false;
    const qlonglong number = id.trimmed().toLongLong(&whole);
    if (!whole)
        throw DbError(QStringLiteral("'%1' is not a valid ID.").arg(id));
    return QString::number(number);
}

void run(Connection &connection, Query &query, const QString &selectText, ReportProject &report,
         const QString &layoutFileName)
{
    ProgramConnection::open(connection);
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

void run(Connection &connection, Table &table, ReportProject &report, const QString &layoutFileName)
{
    ProgramConnection::open(connection);
    table.close();
    table.open();
    report.setProjectFile(Program::AppDir + layoutFileName);
    report.execute();
    table.close();
    connection.close();
}

} // namespace ReportRun
