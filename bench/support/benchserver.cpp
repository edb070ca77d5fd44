#include "benchserver.h"

#include "dberror.h"
#include "dialect.h"
#include "engine.h"
#include "practicecopy.h"

#include <QByteArrayList>
#include <QDateTime>
#include <QDir>
#include <QStringDecoder>
#include <libpq-fe.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace BenchServer {

namespace {

QByteArray quotedValue(const char *value)
{
    QByteArray out("'");
    for (const char *p = value; *p; ++p) {
        if (*p == '\'' || *p == '\\')
            out += '\\';
        out += *p;
    }
    return out + '\'';
}

} // namespace

void die(const QString &what)
{
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(1);
}

std::pair<double, double> wallMedians(const std::function<void()> &ours,
                                      const std::function<void()> &baseline, int runs)
{
    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::time_point from) {
        return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
    };
    std::vector<double> a, b;
    for (int i = 0; i < runs + 1; ++i) {
        auto start = Clock::now();
        ours();
        const double oursMs = ms(start);
        start = Clock::now();
        baseline();
        if (i > 0) {
            a.push_back(oursMs);
            b.push_back(ms(start));
        }
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return {a[a.size() / 2], b[b.size() / 2]};
}

QString maintenance()
{
    return qEnvironmentVariable("ORVANTA_BENCH_SERVER");
}

QString withDatabase(const QString &connection, const QString &database)
{
    char *error = nullptr;
    PQconninfoOption *options = PQconninfoParse(connection.toUtf8().constData(), &error);
    if (!options) {
        const QString message = QString::fromUtf8(error ? error : "not a connection text");
        PQfreemem(error);
        die(message);
    }
    QByteArrayList parts;
    for (PQconninfoOption *o = options; o->keyword; ++o) {
        if (o->val && *o->val && qstrcmp(o->keyword, "dbname") != 0)
            parts << QByteArray(o->keyword) + '=' + quotedValue(o->val);
    }
    PQconninfoFree(options);
    parts << "dbname=" + quotedValue(database.toUtf8().constData());
    return QString::fromUtf8(parts.join(' '));
}

QByteArray nativeSql(const QString &jetSql)
{
    return Dialect::translate(jetSql, Engine::PostgreSQL).toUtf8();
}

PracticeOnServer::PracticeOnServer(const QString &maintenance, const QString &fileFolder,
                                   const QString &serverFolder)
    : m_maintenance(maintenance)
    , m_database(QStringLiteral("orvanta_bench_%1_%2")
                     .arg(getpid())
                     .arg(QDateTime::currentMSecsSinceEpoch()))
    , m_folder(serverFolder)
{
    m_connection = withDatabase(maintenance, m_database);
    Libpq(maintenance).exec("CREATE DATABASE " + m_database.toUtf8());
    try {
        PracticeCopy::copyToServer(fileFolder, m_connection);
    } catch (const DbError &e) {
        die(QStringLiteral("copy to the server failed: ") + e.message());
    }
    // The copy leaves the new rows to the server's autovacuum; a practice moved over a weekend
    // has had them analysed long before anyone measures, so they are analysed now.
    Libpq(m_connection).exec("VACUUM ANALYZE");
    QDir().mkpath(serverFolder);
    EngineSettings::writeServer(serverFolder, m_connection);
}

PracticeOnServer::~PracticeOnServer()
{
    if (qEnvironmentVariableIsSet("ORVANTA_BENCH_KEEP")) {
        std::printf("kept the database: %s\n", qPrintable(m_connection));
        return;
    }
    Libpq(m_maintenance).exec("DROP DATABASE " + m_database.toUtf8() + " WITH (FORCE)");
}

Libpq::Libpq(const QString &connection)
{
    m_conn = PQconnectdb(connection.toUtf8().constData());
    if (PQstatus(m_conn) != CONNECTION_OK)
        die(QString::fromUtf8(PQerrorMessage(m_conn)));
    PQsetClientEncoding(m_conn, "UTF8");
}

Libpq::~Libpq()
{
    PQfinish(m_conn);
}

int Libpq::run(const QByteArray &sql, const std::vector<QByteArray> &values)
{
    std::vector<const char *> params;
    for (const QByteArray &v : values)
        params.push_back(v.constData());
    PGresult *r = PQexecParams(m_conn, sql.constData(), int(params.size()), nullptr,
                               params.data(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(r);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        const QString message = QString::fromUtf8(PQresultErrorMessage(r));
        PQclear(r);
        die(message + QStringLiteral(" in ") + QString::fromUtf8(sql));
    }
    const int rows = PQntuples(r);
    const int columns = PQnfields(r);
    for (int row = 0; row < rows; ++row) {
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(r, row, c))
                continue;
            const int length = PQgetlength(r, row, c);
            if (m_text.size() < length)
                m_text.resize(length);
            QStringDecoder utf8(QStringDecoder::Utf8);
            m_chars += utf8.appendToBuffer(m_text.data(),
                                           QByteArrayView(PQgetvalue(r, row, c), length))
                - m_text.data();
        }
    }
    PQclear(r);
    return rows;
}

void Libpq::exec(const QByteArray &sql)
{
    PGresult *r = PQexec(m_conn, sql.constData());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    const QString message = QString::fromUtf8(PQresultErrorMessage(r));
    PQclear(r);
    if (!ok)
        die(message + QStringLiteral(" in ") + QString::fromUtf8(sql));
}

QByteArray Libpq::first(const QByteArray &sql)
{
    PGresult *r = PQexec(m_conn, sql.constData());
    const QByteArray v = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0
        ? QByteArray(PQgetvalue(r, 0, 0))
        : QByteArray();
    PQclear(r);
    return v;
}

} // namespace BenchServer
