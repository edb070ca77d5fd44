#pragma once

#include <QString>
#include <stdexcept>

// A failure of the database layer: the engine's (or the layer's) message and the SQL text that
// failed, if any. Windows catch it and show the message through the message service.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message, const QString &sql = {})
        : std::runtime_error(message.toStdString()), m_message(message), m_sql(sql) {}
    QString message() const { return m_message; }
    QString sql() const { return m_sql; }

private:
    QString m_message;
    QString m_sql;
};
