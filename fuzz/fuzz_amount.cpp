// The amount reader: what a person types into an amount field, read with either decimal
// separator. An accepted amount written back with the same separator reads again as the same
// decimal, and so does its SQL text and the double it is stored as; a text with two separators
// (a thousands separator and a decimal one, or two of either) is never an amount.

#include "decimal.h"
#include "fuzzcheck.h"

namespace {

QString describe(const std::optional<Decimal> &d)
{
    return d ? d->sqlText() : QStringLiteral("nothing");
}

void checkRead(const QString &typed, QChar separator)
{
    const std::optional<Decimal> amount = Decimal::read(typed, separator);
    if (!amount)
        return;
    const Decimal d = *amount;
    const qsizetype separators = typed.count(QLatin1Char(',')) + typed.count(QLatin1Char('.'));
    FUZZ_CHECK(separators <= 1, QStringLiteral("%1 read as %2").arg(typed, d.sqlText()));

    const QString shown = d.text(separator);
    const std::optional<Decimal> again = Decimal::read(shown, separator);
    FUZZ_CHECK(again && *again == d && again->text(separator) == shown,
               QStringLiteral("%1 -> %2 -> %3").arg(typed, shown, describe(again)));

    const std::optional<Decimal> fromSql = Decimal::read(d.sqlText(), QLatin1Char('.'));
    FUZZ_CHECK(fromSql && *fromSql == d,
               QStringLiteral("%1 -> %2 -> %3").arg(typed, d.sqlText(), describe(fromSql)));

    // Fifteen significant digits survive a double: the stored amount is the typed one.
    const std::optional<Decimal> stored = Decimal::fromDouble(d.toDouble());
    FUZZ_CHECK(stored && *stored == d,
               QStringLiteral("%1 stored as %2").arg(d.sqlText(), describe(stored)));

    // Rounding to cents moves an amount by at most half a cent, is stable, and leaves an amount
    // already in cents as it is.
    const Decimal halfCent(5, 3);
    for (const auto rounding : {Decimal::Rounding::HalfEven, Decimal::Rounding::HalfAwayFromZero}) {
        const Decimal r = d.rounded(2, rounding);
        const Decimal moved = r - d;
        FUZZ_CHECK(moved <= halfCent && -moved <= halfCent && r.scale() == 2
                       && r.rounded(2, rounding) == r && (d.scale() > 2 || r == d),
                   QStringLiteral("%1 rounded to %2").arg(d.sqlText(), r.sqlText()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString typed = Fuzz::text(data, size);
    checkRead(typed, QLatin1Char(','));
    checkRead(typed, QLatin1Char('.'));
    return 0;
}
