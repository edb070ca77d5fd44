#pragma once

#include <QHash>
#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;
class StatementCache;

// A prepared statement that cleans up after itself. A statement prepared on its own is
// finalized when the handle goes; one lent by its connection's cache is reset, its bindings
// cleared and handed back (or finalized when the connection has closed meanwhile). A reset
// statement holds no lock on the file.
class PreparedStatement {
public:
    PreparedStatement() = default;
    explicit PreparedStatement(sqlite3_stmt *stmt)
        : m_stmt(stmt)
    {}
    ~PreparedStatement() { release(); }
    PreparedStatement(PreparedStatement &&other) noexcept;
    PreparedStatement &operator=(PreparedStatement &&other) noexcept;
    PreparedStatement(const PreparedStatement &) = delete;
    PreparedStatement &operator=(const PreparedStatement &) = delete;

    sqlite3_stmt *get() const { return m_stmt; }
    explicit operator bool() const { return m_stmt != nullptr; }

    // Finalizes the statement now (or gives it back to its cache).
    void release();

private:
    friend class StatementCache;
    PreparedStatement(sqlite3_stmt *stmt, std::weak_ptr<StatementCache> cache, QString key)
        : m_stmt(stmt)
        , m_cache(std::move(cache))
        , m_key(std::move(key))
    {}

    sqlite3_stmt *m_stmt = nullptr;
    std::weak_ptr<StatementCache> m_cache;
    QString m_key;
};

// The statements of one open connection that are not in use, keyed by their text in the
// engine's dialect, at most `capacity` of them (the least recently used goes first). A
// statement is lent to one user at a time; a second user of the same text prepares its own.
class StatementCache : public std::enable_shared_from_this<StatementCache> {
public:
    explicit StatementCache(size_t capacity = 48)
        : m_capacity(capacity)
    {}
    ~StatementCache();
    StatementCache(const StatementCache &) = delete;
    StatementCache &operator=(const StatementCache &) = delete;

    // The idle statement for the text, or an empty handle (the caller prepares one).
    PreparedStatement take(const QString &sql);
    // Wraps a statement the caller has just prepared so that it comes back here when done.
    PreparedStatement adopt(sqlite3_stmt *stmt, const QString &sql);
    size_t idleCount() const { return size_t(m_idle.size()); }
    // How many of its statements are in use now (lent and not yet given back).
    size_t lentCount() const { return m_lent; }

private:
    friend class PreparedStatement;
    void giveBack(sqlite3_stmt *stmt, const QString &sql);

    struct Entry {
        sqlite3_stmt *stmt;
        quint64 used;
    };
    size_t m_capacity;
    quint64 m_clock = 0;
    size_t m_lent = 0;
    QHash<QString, Entry> m_idle;
};
