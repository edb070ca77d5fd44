#pragma once

#include "engine.h"
#include "preparedstatement.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;
class ServerSession;

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
    // Opens a practice file by its path, whatever the settings of its folder say, with the same
    // checks as open() (ours, the database password); a copy being checked is opened read-only
    // so that looking at it never changes it.
    void openPracticeFile(const QString &path, const QString &password, bool readOnly = false);
    bool isOpen() const { return m_handle != nullptr || m_server != nullptr; }

    // Closing does not end the file handle or the server session underneath: it is kept for the
    // next connection to the same practice (connectionpool.h), rolled back if a transaction was
    // left open. After this call it is ended instead, as a handle whose state a test changed
    // must be; the next open() makes a new one.
    void keepOutOfPool() { m_keepOutOfPool = true; }

    // Every window's set-up: close, take the connection text, then open when asked.
    void setUp(const QString &connectionText, bool openNow = false);

    // Runs one INSERT, UPDATE or DELETE written in the windows' dialect; returns rows changed.
    int execute(const QString &jetSql);
    // Runs one statement already in the engine's dialect, with bound values.
    int executeNative(const QString &sql, const QVariantList &values = {});

    void beginTransaction();
    // Commits the open transaction. A commit whose outcome cannot be known (the server's
    // answer lost, an I/O error of the file after its commit point) throws a DbError of kind
    // OutcomeUnknown: the caller looks its registration token up before saying anything.
    void commit();
    // Rolls back the open transaction, if any; throws DbError when the engine refuses.
    void rollback();

    // The engine the open connection runs on: SQLite (data.mdb) unless orvanta.ini in the
    // practice folder names a server database.
    Engine engine() const { return m_server ? Engine::PostgreSQL : Engine::SQLite; }
    // The SQLite handle; null on a server.
    sqlite3 *handle() const { return m_handle; }
    // The server session; null on SQLite.
    ServerSession *server() const { return m_server.get(); }
    QString fileName() const { return m_fileName; }
    // A table's or column's name quoted for the engine: the server keeps names in lower case.
    QString quoteName(const QString &name) const;

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
    // Test seam: runs in place of the file engine's COMMIT and gives its result code, so that a
    // test can commit (or roll back) and then report the I/O error the engine reports when the
    // journal cannot be deleted. Empty: the engine's own COMMIT.
    static void setFileCommitSeam(std::function<int(sqlite3 *)> seam);

private:
    void requireOpen(const QString &sql) const;
    void openFile(const QString &path, bool readOnly = false);
    void checkFile(const QString &dataSource, const QString &password);
    void openServer(const QString &serverConnection, const QString &password);
    void checkServer(ServerSession &session, const QString &serverConnection,
                     const QString &password);

    QString m_connectionText;
    QString m_fileName;
    sqlite3 *m_handle = nullptr;
    std::shared_ptr<StatementCache> m_statements;
    std::unique_ptr<ServerSession> m_server;
    // Whether the handle goes back to the pool when the connection closes (only what open()
    // opened does), and the file its name stood for when it was opened.
    bool m_pooled = false;
    bool m_keepOutOfPool = false;
    bool m_readOnly = false;
    quint64 m_device = 0;
    quint64 m_inode = 0;
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
