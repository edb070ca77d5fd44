#include "sqlfunctions.h"

#include "dberror.h"
#include "decimal.h"
#include "greektext.h"

#include <QDate>
#include <QString>
#include <sqlite3.h>

#include <cmath>
#include <optional>
#include <stdexcept>

namespace SqlFunctions {

namespace {

QString textArg(sqlite3_value *v)
{
    const void *data = sqlite3_value_text16(v);
    const int bytes = sqlite3_value_bytes16(v);
    return QString(reinterpret_cast<const QChar *>(data), bytes / 2);
}

void resultText(sqlite3_context *ctx, const QString &s)
{
    sqlite3_result_text16(ctx, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
}

QDate dateArg(sqlite3_value *v)
{
    const QString s = textArg(v);
    return QDate::fromString(s.left(10), Qt::ISODate);
}

// A stored date as the file keeps it ("2025-01-10", ISO text), read from the engine's own
// bytes: grouping a year of rows by month calls DAY(), MONTH() or YEAR() on every row, and a
// conversion to UTF-16 and Qt's general date reader would cost most of the statement. Anything
// else (or a date that does not exist) goes through dateArg as before, with the same result.
QDate fastDateArg(sqlite3_value *v)
{
    if (sqlite3_value_type(v) == SQLITE_TEXT) {
        const auto *t = sqlite3_value_text(v);
        const int n = sqlite3_value_bytes(v);
        const auto digit = [t](int i) { return t[i] >= '0' && t[i] <= '9'; };
        if (n >= 10 && digit(0) && digit(1) && digit(2) && digit(3) && t[4] == '-' && digit(5)
            && digit(6) && t[7] == '-' && digit(8) && digit(9)) {
            const int year = (t[0] - '0') * 1000 + (t[1] - '0') * 100 + (t[2] - '0') * 10
                + (t[3] - '0');
            const QDate d(year, (t[5] - '0') * 10 + (t[6] - '0'), (t[8] - '0') * 10 + (t[9] - '0'));
            if (d.isValid() && year > 0)
                return d;
        }
    }
    return dateArg(v);
}

void datePart(sqlite3_context *ctx, int argc, sqlite3_value **argv, int which)
{
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QDate d = fastDateArg(argv[0]);
    if (!d.isValid()) {
        sqlite3_result_error(ctx, "Data type mismatch in criteria expression.", -1);
        return;
    }
    sqlite3_result_int(ctx, which == 0 ? d.day() : which == 1 ? d.month() : d.year());
}

void fnDay(sqlite3_context *c, int n, sqlite3_value **a)
{
    datePart(c, n, a, 0);
}
void fnMonth(sqlite3_context *c, int n, sqlite3_value **a)
{
    datePart(c, n, a, 1);
}
void fnYear(sqlite3_context *c, int n, sqlite3_value **a)
{
    datePart(c, n, a, 2);
}

// A number rounded to the given decimals, halves away from zero, written with the system's
// decimal separator and without a minus on a zero ("-0,00"). A stored double stands for its
// 15-digit decimal form, so 1.005 is 1.01; a text is read as typed, with the system's
// separator or as SQL text with a point. A null QString when the value is not a number.
QString formattedNumber(sqlite3_value *value, int decimals)
{
    std::optional<Decimal> number;
    double binary = 0;
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        number = Decimal(sqlite3_value_int64(value));
        break;
    case SQLITE_FLOAT:
        binary = sqlite3_value_double(value);
        number = Decimal::fromDouble(binary);
        break;
    default: {
        const QString text = textArg(value);
        number = Decimal::read(text);
        if (!number)
            number = Decimal::read(text, QLatin1Char('.'));
        if (!number)
            return {};
        break;
    }
    }
    const QChar separator = Decimal::systemSeparator();
    if (number) {
        try {
            return number->rounded(decimals, Decimal::Rounding::HalfAwayFromZero).text(separator);
        } catch (const std::overflow_error &) {
            // Beyond 38 digits: written from the double below.
        }
    }
    if (!std::isfinite(binary))
        return QString::number(binary);
    QString text = QString::number(binary, 'f', decimals);
    if (separator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), separator);
    return text;
}

// Number formats made of 0, # and one point ("0.00"); date formats with dd, mm, yyyy.
void fnFormat(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (argc < 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString format = argc > 1 ? textArg(argv[1]) : QString();
    const int type = sqlite3_value_type(argv[0]);
    const bool numericFormat = !format.isEmpty()
        && format.count(QLatin1Char('0')) + format.count(QLatin1Char('#'))
                + format.count(QLatin1Char('.'))
            == format.size();
    if (numericFormat) {
        const qsizetype point = format.indexOf(QLatin1Char('.'));
        const int decimals = point < 0 ? 0 : int(format.size() - point - 1);
        const QString text = formattedNumber(argv[0], decimals);
        if (text.isNull()) {
            sqlite3_result_error(ctx, "Data type mismatch in criteria expression.", -1);
            return;
        }
        resultText(ctx, text);
        return;
    }
    if (type == SQLITE_TEXT && !format.isEmpty()) {
        const QDate d = dateArg(argv[0]);
        if (d.isValid()) {
            QString f = format;
            f.replace(QLatin1String("mm"), QLatin1String("MM"), Qt::CaseInsensitive);
            f.replace(QLatin1String("m"), QLatin1String("M"));
            resultText(ctx, d.toString(f));
            return;
        }
    }
    sqlite3_result_value(ctx, argv[0]);
}

void fnLike(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    // like(pattern, text[, escape]) as SQLite calls it for "text LIKE pattern".
    if (argc < 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL
        || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, GreekText::like(textArg(argv[0]), textArg(argv[1])) ? 1 : 0);
}

// Texts are stored as UTF-8; comparing them as they are spares SQLite a conversion to UTF-16
// (and an allocation) for every comparison of a sort.
int greekCollation(void *, int lenA, const void *a, int lenB, const void *b)
{
    return GreekText::compareUtf8(static_cast<const char *>(a), lenA, static_cast<const char *>(b),
                                  lenB);
}

} // namespace

void registerAll(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    using Function = void (*)(sqlite3_context *, int, sqlite3_value **);
    const struct {
        const char *name;
        int arguments;
        Function function;
    } functions[] = {
        {"DAY", 1, fnDay},       {"MONTH", 1, fnMonth},   {"YEAR", 1, fnYear},
        {"FORMAT", 1, fnFormat}, {"FORMAT", 2, fnFormat}, {"like", 2, fnLike},
        {"like", 3, fnLike},
    };
    const auto check = [db](int rc, const char *what) {
        if (rc != SQLITE_OK)
            throw DbError(QStringLiteral("%1: %2").arg(QLatin1String(what),
                                                       QString::fromUtf8(sqlite3_errmsg(db))),
                          {}, sqlite3_extended_errcode(db));
    };
    for (const auto &f : functions)
        check(sqlite3_create_function(db, f.name, f.arguments, flags, nullptr, f.function, nullptr,
                                      nullptr),
              f.name);
    check(sqlite3_create_collation(db, "GREEK", SQLITE_UTF8, nullptr, greekCollation), "GREEK");
}

} // namespace SqlFunctions
