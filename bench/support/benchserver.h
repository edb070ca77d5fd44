#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

struct pg_conn;

// What the benchmarks need to run on a PostgreSQL server as well as on the file: a practice
// copied into a database of its own there, and the baseline, one libpq session sending the
// same statements. The server is not started here: its maintenance connection text comes from
// ORVANTA_BENCH_SERVER (scripts/pg-cluster.sh start DIR prints one).
namespace BenchServer {

// The maintenance connection text the benchmark was given; empty: the file only.
QString maintenance();

// The maintenance connection text with another database named in it.
QString withDatabase(const QString &connection, const QString &database);

// A statement in the windows' dialect as the server receives it.
QByteArray nativeSql(const QString &jetSql);

[[noreturn]] void die(const QString &what);

// Wall-clock medians of two ways of doing the same work (the program's, then the baseline's),
// taken in turn so that a neighbour's load falls on both alike: on a server the work is done in
// the server's processes, so this thread's CPU time says little. A first round warms the caches
// and is not counted.
std::pair<double, double> wallMedians(const std::function<void()> &ours,
                                      const std::function<void()> &baseline, int runs = 7);

// The practice in one folder copied into a new database on the server, and a second folder
// whose orvanta.ini names that database, for the windows to open. The database is dropped
// when the copy goes (ORVANTA_BENCH_KEEP=1 keeps it, to look at plans with psql).
class PracticeOnServer {
public:
    PracticeOnServer(const QString &maintenance, const QString &fileFolder,
                     const QString &serverFolder);
    ~PracticeOnServer();
    PracticeOnServer(const PracticeOnServer &) = delete;
    PracticeOnServer &operator=(const PracticeOnServer &) = delete;

    QString connectionText() const { return m_connection; }
    QString folder() const { return m_folder; }

private:
    QString m_maintenance;
    QString m_database;
    QString m_connection;
    QString m_folder;
};

// The baseline: one session, statements in the server's dialect sent with PQexecParams, every
// value of every row read as the text a window shows (decoded into one reused buffer, as the
// file's baseline reads sqlite3_column_text16).
class Libpq {
public:
    explicit Libpq(const QString &connection);
    ~Libpq();
    Libpq(const Libpq &) = delete;
    Libpq &operator=(const Libpq &) = delete;

    // Runs one statement; returns the rows read.
    int run(const QByteArray &sql, const std::vector<QByteArray> &values = {});
    // A statement of its own, as the simple protocol sends it (CREATE DATABASE, VACUUM).
    void exec(const QByteArray &sql);
    // The first value of the first row, as text.
    QByteArray first(const QByteArray &sql);
    pg_conn *conn() const { return m_conn; }

private:
    pg_conn *m_conn = nullptr;
    qsizetype m_chars = 0;
    QString m_text;
};

} // namespace BenchServer
