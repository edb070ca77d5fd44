#pragma once

#include <QString>
#include <stdexcept>

// A failure of the database layer: the engine's (or the layer's) message, the SQL text that
// failed, if any, and the engine's extended result code (0 for the layer's own failures), so
// that callers test codes, not message texts. Windows catch it and show the message through the
// message service.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message, const QString &sql = {}, int code = 0)
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_sql(sql)
        , m_code(code)
    {}
    QString message() const { return m_message; }
    QString sql() const { return m_sql; }
    // SQLite's extended result code (SQLITE_CONSTRAINT_UNIQUE, SQLITE_READONLY, ...), or 0.
    int code() const { return m_code; }
    // The same failure, reported against another SQL text (the one the window wrote).
    DbError withSql(const QString &sql) const { return DbError(m_message, sql, m_code); }

private:
    QString m_message;
    QString m_sql;
    int m_code = 0;
};
