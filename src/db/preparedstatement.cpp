#include "preparedstatement.h"

#include <sqlite3.h>

#include <algorithm>
#include <utility>

PreparedStatement::PreparedStatement(PreparedStatement &&other) noexcept
    : m_stmt(std::exchange(other.m_stmt, nullptr))
    , m_cache(std::move(other.m_cache))
    , m_key(std::move(other.m_key))
{}

PreparedStatement &PreparedStatement::operator=(PreparedStatement &&other) noexcept
{
    if (this != &other) {
        release();
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_cache = std::move(other.m_cache);
        m_key = std::move(other.m_key);
    }
    return *this;
}

void PreparedStatement::release()
{
    sqlite3_stmt *stmt = std::exchange(m_stmt, nullptr);
    if (!stmt)
        return;
    if (const std::shared_ptr<StatementCache> cache = m_cache.lock()) {
        m_cache.reset();
        cache->giveBack(stmt, m_key);
        return;
    }
    sqlite3_finalize(stmt);
}

StatementCache::~StatementCache()
{
    for (const Entry &entry : std::as_const(m_idle))
        sqlite3_finalize(entry.stmt);
}

PreparedStatement StatementCache::take(const QString &sql)
{
    const auto it = m_idle.find(sql);
    if (it == m_idle.end())
        return {};
    sqlite3_stmt *stmt = it->stmt;
    m_idle.erase(it);
    ++m_lent;
    return PreparedStatement(stmt, weak_from_this(), sql);
}

PreparedStatement StatementCache::adopt(sqlite3_stmt *stmt, const QString &sql)
{
    ++m_lent;
    return PreparedStatement(stmt, weak_from_this(), sql);
}

void StatementCache::giveBack(sqlite3_stmt *stmt, const QString &sql)
{
    // A statement comes back ready for its next user: no row in progress (so no read lock is
    // held across a later commit), no value of the last user bound.
    --m_lent;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (m_capacity == 0 || m_idle.contains(sql)) {
        sqlite3_finalize(stmt);
        return;
    }
    if (size_t(m_idle.size()) >= m_capacity) {
        const auto oldest
            = std::min_element(m_idle.begin(), m_idle.end(),
                               [](const Entry &a, const Entry &b) { return a.used < b.used; });
        sqlite3_finalize(oldest->stmt);
        m_idle.erase(oldest);
    }
    m_idle.insert(sql, Entry {stmt, ++m_clock});
}
