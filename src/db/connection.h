#pragma once

#include "preparedstatement.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// One window's connection to the practice file. Set up as every window does it: close, give it
// the connection text, open. Opening checks that the file exists, that it is a practice
// database of this program and that the database password matches; failures throw DbError
// with the engine's message and result code.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void close();
    void setConnectionText(const QString &text) { m_connectionText = text; }
    QString connectionText() const { return m_connectionText; }
    void open();
    bool isOpen() const { return m_handle != nullptr; }

    // Every window's set-up: close, take the connection text, then open when asked.
    void setUp(const QString &connectionText, bool openNow = false);

    // Runs one INSERT, UPDATE or DELETE written in the windows' dialect; returns rows changed.
    int execute(const QString &jetSql);
    // Runs one statement already in the engine's dialect, with bound values.
    int executeNative(const QString &sql, const QVariantList &values = {});

    void beginTransaction();
    void commit();
    // Rolls back the open transaction, if any; throws DbError when the engine refuses.
    void rollback();

    sqlite3 *handle() const { return m_handle; }
    QString fileName() const { return m_fileName; }

    // Prepares a statement (engine dialect) and binds values. Statements are prepared once
    // per open connection: the handle gives the statement back, reset, when it goes.
    PreparedStatement prepare(const QString &sql, const QVariantList &values = {}) const;
    // Throws the engine's last failure (message and extended result code) against the SQL.
    [[noreturn]] void fail(const QString &sql) const;

    // How long a statement waits for a file another connection is writing, for every
    // connection opened afterwards. "No limit" in practice (five minutes); tests shorten it.
    static void setBusyWait(int milliseconds);
    static int busyWait();
    // Test seam: connections opened afterwards open the file read-only, as a file the user
    // may not write is opened (changing the file's mode does not stop a test run as root).
    static void setOpenReadOnly(bool readOnly);

private:
    void requireOpen(const QString &sql) const;
    void openFile(const QString &path);
    void checkFile(const QString &dataSource, const QString &password);

    QString m_connectionText;
    QString m_fileName;
    sqlite3 *m_handle = nullptr;
    std::shared_ptr<StatementCache> m_statements;
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
