#pragma once

#include <QColor>
#include <QDate>
#include <QSize>
#include <QString>
#include <QStringList>

#include <ostream>

// Lets GoogleTest print Qt values in its failure messages.
inline std::ostream &operator<<(std::ostream &os, const QString &s)
{
    return os << s.toStdString();
}
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '{' << l.join(QStringLiteral(", ")).toStdString() << '}';
}
inline void PrintTo(const QColor &c, std::ostream *os)
{
    *os << "rgb(" << c.red() << ", " << c.green() << ", " << c.blue() << ')';
}
inline void PrintTo(const QSize &s, std::ostream *os)
{
    *os << s.width() << 'x' << s.height();
}
inline void PrintTo(const QDate &d, std::ostream *os)
{
    *os << d.toString(Qt::ISODate).toStdString();
}
