// The SQL dialect translation. Whatever statement text it is given, it either refuses it with
// DbError or yields SQL in which every quote is closed: single-quoted strings and double-quoted
// names, a doubled quote standing for itself, and none of the dialect's own marks (#dates#,
// [names]) left outside them.

#include "dberror.h"
#include "dialect.h"
#include "fuzzcheck.h"

#include <QDate>

namespace {

// Where the scan of the engine's SQL ended: outside every quote, or inside one.
enum class Scan { Outside, InString, InName, InBrackets };

struct ScanResult {
    Scan state = Scan::Outside;
    qsizetype dialectMark = -1; // a '#' or '[' outside quotes
};

ScanResult scan(QStringView sql)
{
    ScanResult r;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        switch (r.state) {
        case Scan::Outside:
            if (c == QLatin1Char('\''))
                r.state = Scan::InString;
            else if (c == QLatin1Char('"'))
                r.state = Scan::InName;
            else if (c == QLatin1Char('[')) {
                r.state = Scan::InBrackets;
                if (r.dialectMark < 0)
                    r.dialectMark = i;
            } else if (c == QLatin1Char('#') && r.dialectMark < 0)
                r.dialectMark = i;
            break;
        case Scan::InString:
        case Scan::InName: {
            const QChar quote = r.state == Scan::InString ? QLatin1Char('\'') : QLatin1Char('"');
            if (c == quote) {
                if (i + 1 < n && sql[i + 1] == quote)
                    ++i; // a doubled quote stands for itself
                else
                    r.state = Scan::Outside;
            }
            break;
        }
        case Scan::InBrackets:
            if (c == QLatin1Char(']'))
                r.state = Scan::Outside;
            break;
        }
    }
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString jet = Fuzz::text(data, size);
    QString sql;
    try {
        sql = Dialect::translate(jet);
    } catch (const DbError &e) {
        FUZZ_CHECK(!e.message().isEmpty() && e.sql() == jet, e.message());
        return 0;
    }
    const ScanResult r = scan(sql);
    FUZZ_CHECK(r.state == Scan::Outside,
               QStringLiteral("unbalanced quote in\n%1\nfrom\n%2").arg(sql, jet));
    FUZZ_CHECK(r.dialectMark < 0,
               QStringLiteral("'%1' left at %2 in\n%3")
                   .arg(sql.mid(r.dialectMark, 1))
                   .arg(r.dialectMark)
                   .arg(sql));

    // A date literal's body, read and written again as the windows write it, is the same date.
    const QString iso = Dialect::isoFromLiteral(jet);
    if (!iso.isEmpty()) {
        const QDate d = QDate::fromString(iso, Qt::ISODate);
        FUZZ_CHECK(d.isValid(), iso);
        const QString again = Dialect::isoFromLiteral(
            QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year()));
        FUZZ_CHECK(again == iso, QStringLiteral("%1 became %2").arg(iso, again));
        const QString translated = Dialect::translate(QLatin1Char('#') + jet + QLatin1Char('#'));
        FUZZ_CHECK(translated == QLatin1Char('\'') + iso + QLatin1Char('\''),
                   QStringLiteral("%1 translated to %2").arg(iso, translated));
    }
    return 0;
}
