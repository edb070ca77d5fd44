#pragma once

#include <QString>
#include <stdexcept>

// A failure of the database layer: the engine's (or the layer's) message, the SQL text that
// failed, if any, and the engine's extended result code (0 for the layer's own failures), so
// that callers test codes, not message texts. Windows catch it and show the message through the
// message service.
class DbError : public std::runtime_error {
public:
    // What the failure means for what was being written.
    enum class Kind {
        Refused,    // the engine answered: it refused the statement
        Lost,       // the session to the server went; nothing was being written
        NotWritten, // the session went before the commit: what was being written was not
        // The answer to a commit was lost: it may have taken effect or not. Only a look at
        // the database afterwards (a token written in the same transaction) can tell.
        OutcomeUnknown,
    };

    explicit DbError(const QString &message, const QString &sql = {}, int code = 0,
                     Kind kind = Kind::Refused)
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_sql(sql)
        , m_code(code)
        , m_kind(kind)
    {}
    QString message() const { return m_message; }
    QString sql() const { return m_sql; }
    // SQLite's extended result code (SQLITE_CONSTRAINT_UNIQUE, SQLITE_READONLY, ...), or 0.
    int code() const { return m_code; }
    Kind kind() const { return m_kind; }
    bool outcomeUnknown() const { return m_kind == Kind::OutcomeUnknown; }
    // The same failure, reported against another SQL text (the one the window wrote).
    DbError withSql(const QString &sql) const { return DbError(m_message, sql, m_code, m_kind); }

private:
    QString m_message;
    QString m_sql;
    int m_code = 0;
    Kind m_kind = Kind::Refused;
};
