// The date and number readers: what a person types into a date or an amount field. A date read
// and written again is the same date, by every route the program takes (the shown text, the SQL
// literal, the engine's ISO text); a number written and read back is the same number, and an
// amount already in cents comes out of the rounding unchanged.

#include "dialect.h"
#include "fuzzcheck.h"
#include "sqltext.h"

#include <cmath>

namespace {

void checkDate(const QString &typed)
{
    const std::optional<QDate> date = SqlText::parseDate(typed);
    const QString literal = SqlText::ToSqlDate(typed);
    if (!date) {
        FUZZ_CHECK(literal == QLatin1String("ERROR"), literal);
        return;
    }
    FUZZ_CHECK(date->isValid() && date->year() >= 1, typed);
    FUZZ_CHECK(literal.size() > 2 && literal.startsWith(QLatin1Char('#'))
                   && literal.endsWith(QLatin1Char('#')),
               literal);
    // The literal the windows put in SQL names the same day to the engine.
    const QString iso = Dialect::isoFromLiteral(literal.mid(1, literal.size() - 2));
    FUZZ_CHECK(iso == date->toString(Qt::ISODate),
               QStringLiteral("%1 -> %2 -> %3").arg(typed, literal, iso));
    // The date as the program shows it reads back as the same date.
    const QString shown = SqlText::dateText(*date);
    const std::optional<QDate> again = SqlText::parseDate(shown);
    FUZZ_CHECK(again && *again == *date,
               QStringLiteral("%1 shown as %2 reads back as %3")
                   .arg(date->toString(Qt::ISODate), shown,
                        again ? again->toString(Qt::ISODate) : QStringLiteral("nothing")));
    FUZZ_CHECK(SqlText::ToSqlDate(shown) == literal, shown);
}

void checkAmount(const QString &typed)
{
    const std::optional<double> amount = SqlText::parseAmount(typed);
    if (!amount)
        return;
    const double v = *amount;
    FUZZ_CHECK(std::isfinite(v), typed);
    // Written as SQL (and as a field shows it), the number reads back, and writing it again
    // gives the same text: the program's own number texts are stable.
    const QString written = SqlText::number(v);
    const std::optional<double> back = SqlText::parseAmount(written);
    FUZZ_CHECK(back.has_value(),
               QStringLiteral("%1 written as %2 does not read back").arg(typed, written));
    FUZZ_CHECK(
        SqlText::number(*back) == written,
        QStringLiteral("%1 -> %2 -> %3").arg(written).arg(*back).arg(SqlText::number(*back)));
    FUZZ_CHECK(std::fabs(*back - v) <= 1e-14 * std::fabs(v),
               QStringLiteral("%1 -> %2 -> %3").arg(typed, written).arg(*back, 0, 'g', 17));

    const double r = SqlText::round2(v);
    FUZZ_CHECK(std::isfinite(r) && std::fabs(r - v) <= 0.005 + 1e-9 * std::fabs(v),
               QStringLiteral("round2(%1) = %2").arg(v, 0, 'g', 17).arg(r, 0, 'g', 17));
    // Rounding is stable, and an amount typed with at most two decimals is already rounded, up
    // to a million million: beyond that the nearest double is more than a fiftieth of a cent
    // away from the typed amount (44644444444440.02 is held as ...40.0234375), and the scaling
    // by 100 can carry it over the half.
    if (std::fabs(v) >= 1e12)
        return;
    FUZZ_CHECK(SqlText::round2(r) == r, QStringLiteral("round2 moves %1").arg(r, 0, 'g', 17));
    const QString t = typed.trimmed();
    const qsizetype point = std::max(t.indexOf(QLatin1Char('.')), t.indexOf(QLatin1Char(',')));
    const bool cents = point < 0 || t.size() - point - 1 <= 2;
    if (cents)
        FUZZ_CHECK(r == v, QStringLiteral("round2(%1) = %2").arg(typed).arg(r, 0, 'g', 17));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString typed = Fuzz::text(data, size);
    checkDate(typed);
    checkAmount(typed);
    return 0;
}
