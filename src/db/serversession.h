#pragma once

#include "dberror.h"

#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>
#include <QVariant>

#include <vector>

struct pg_conn;

// One session with a practice database kept on a PostgreSQL server (see engine.h). Statements
// are sent in the server's own dialect with `?` marks for bound values; rows come back as the
// record sets hold them: integers as qlonglong, numbers as double, dates as ISO text, texts as
// QString, null as an invalid QVariant. Failures throw DbError with the server's message and the
// SQLite result code that means the same to the windows (a unique key refused is
// SQLITE_CONSTRAINT_UNIQUE on both engines).
class ServerSession {
public:
    struct Column {
        QString name;        // as the server names it
        unsigned table = 0;  // oid of the table the value comes from, 0 for expressions
        int tableColumn = 0; // its column number in that table
        unsigned type = 0;   // type oid
        int modifier = -1;   // type modifier (a VARCHAR's width + 4)
    };
    struct Result {
        std::vector<Column> columns;
        std::vector<std::vector<QVariant>> rows;
        int changed = 0; // rows an INSERT, UPDATE or DELETE changed
    };

    // Connects with a libpq connection text ("service=orvanta", "host=... dbname=...").
    explicit ServerSession(const QString &connectionText);
    ~ServerSession();
    ServerSession(const ServerSession &) = delete;
    ServerSession &operator=(const ServerSession &) = delete;

    // Runs one statement. When the session to the server was lost, the statement fails with
    // lostMessage() and the next one connects again; a transaction that was open when it was
    // lost stays failed (every statement refused) until it is rolled back, so that nothing
    // after the loss can be committed as if the lost part had been written. The error's kind
    // says what the loss means for the writes: a COMMIT (or a write outside a transaction)
    // whose answer was lost is DbError::Kind::OutcomeUnknown, since the server may have
    // committed it before it went.
    Result run(const QString &sql, const QVariantList &values = {});

    bool inTransaction() const;
    // Makes the session ready for another window: a transaction still open is rolled back.
    // False when it cannot be made so (the session was lost, the rollback was refused): the
    // session is then ended rather than kept.
    bool readyForReuse();
    // Tables this session has seen in its database, so that a window's "is the table there?"
    // costs one round trip per session rather than one per use. A table seen inside a
    // transaction counts only once that transaction has committed (the server's CREATE TABLE
    // is undone by a rollback); a session that connects again forgets them all. The program
    // never drops a table of a practice it has open.
    bool knowsTable(const QString &name) const { return m_knownTables.contains(name); }
    void noteTable(const QString &name);
    // The table's and the column's name as the server keeps them (lower case).
    QString tableName(unsigned table);
    QString columnName(unsigned table, int column);

    // What the windows show when the server cannot be reached, before the server's own words.
    static QString lostMessage();
    // The result code of a lost session (SQLITE_IOERR).
    static int lostCode();
    // Whether a statement ends a transaction with a commit, and whether it writes.
    static bool isCommit(const QString &sql);
    static bool isWrite(const QString &sql);
    // The connection text as the session uses it: one that names a server across the network
    // and says nothing of TLS asks for it with the server's certificate verified
    // (sslmode=verify-full). A text that names its own sslmode, a server on this computer, or
    // only a service (whose file says it) is used as written.
    static QString securedConnectionText(const QString &connectionText);

private:
    struct TableNames {
        QString table;
        QHash<int, QString> columns;
    };
    TableNames namesOf(unsigned table);
    void connect();
    [[noreturn]] void failLost(const QString &sql, const QString &detail);
    void noteTransaction(const QString &sql, bool committed = false);

    QString m_connectionText;
    pg_conn *m_conn = nullptr;
    bool m_inTransaction = false;
    bool m_transactionLost = false;
    bool m_transactionWrote = false; // the open transaction has run a write
    DbError::Kind m_lostKind = DbError::Kind::Lost;
    QSet<QString> m_knownTables;
    QSet<QString> m_tablesSeenInTransaction;
};
