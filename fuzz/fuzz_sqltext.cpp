// The date reader and the number writer: what a person types into a date field, and amounts as
// they go into SQL text. A date read and written again is the same date, by every route the
// program takes (the shown text, the SQL literal, the engine's ISO text); an amount written as
// SQL text names the same decimal.

#include "decimal.h"
#include "dialect.h"
#include "fuzzcheck.h"
#include "sqltext.h"

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

// An amount stored as a double goes into SQL text through number(): the text names the same
// amount the person typed.
void checkNumber(const QString &typed)
{
    const std::optional<Decimal> amount = Decimal::read(typed, QLatin1Char('.'));
    if (!amount)
        return;
    const QString written = SqlText::number(amount->toDouble());
    const std::optional<Decimal> back = Decimal::read(written, QLatin1Char('.'));
    FUZZ_CHECK(back && *back == *amount,
               QStringLiteral("%1 written as %2").arg(amount->sqlText(), written));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString typed = Fuzz::text(data, size);
    checkDate(typed);
    checkNumber(typed);
    return 0;
}
