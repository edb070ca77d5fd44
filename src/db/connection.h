#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

struct sqlite3;
struct sqlite3_stmt;

// One window's connection to the practice file. Set up as every window does it: close, give it
// the connection text, set the time-outs, open. Opening checks that the file exists, that it is
// a practice database of this program and that the database password matches; failures throw
// DbError with the engine's message.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void close();
    void setConnectionText(const QString &text) { m_connectionText = text; }
    QString connectionText() const { return m_connectionText; }
    // Time-outs of 0 mean "no limit": a busy file is waited for.
    void setCommandTimeout(int seconds) { m_commandTimeout = seconds; }
    void setConnectionTimeout(int seconds) { m_connectionTimeout = seconds; }
    void open();
    bool isOpen() const { return m_handle != nullptr; }

    // Steps 1-3 of every window's set-up, then open when asked.
    void setUp(const QString &connectionText, bool openNow = false);

    // Runs one INSERT, UPDATE or DELETE written in the windows' dialect; returns rows changed.
    int execute(const QString &jetSql);
    // Runs one statement already in the engine's dialect, with bound values.
    int executeNative(const QString &sql, const QVariantList &values = {});

    void beginTransaction();
    void commit();
    void rollback();

    sqlite3 *handle() const { return m_handle; }
    QString fileName() const { return m_fileName; }

    // Prepares a statement (engine dialect) and binds values; the caller finalizes it.
    sqlite3_stmt *prepare(const QString &sql, const QVariantList &values = {}) const;
    [[noreturn]] void fail(const QString &sql) const;

private:
    void requireOpen(const QString &sql) const;

    QString m_name;
    QString m_connectionText;
    QString m_fileName;
    int m_commandTimeout = 30;
    int m_connectionTimeout = 15;
    sqlite3 *m_handle = nullptr;
};

// Writes that belong together: begun on construction, rolled back unless committed.
class Transaction {
public:
    explicit Transaction(Connection &connection);
    ~Transaction();
    void commit();

private:
    Connection &m_connection;
    bool m_done = false;
};
