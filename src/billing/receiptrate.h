#pragma once

#include "decimal.h"

#include <QString>

#include <optional>

class Connection;

// The VAT rate a receipt was issued with (Schema::kReceiptRateTable): written in the receipt's
// own transaction, read when it is printed again, so that a reprint is the original whatever
// the rate in force is by then.
namespace ReceiptRate {

// Keeps the rate of receipt `number`; a practice made before the table gets it now. Throws
// DbError; the caller's transaction rolls everything back with it.
void keep(Connection &connection, qint64 number, const Decimal &rate);

// The rate the receipt was issued with; none for a receipt issued before the rates were kept
// (or in a practice without the table), which prints with the rate in force, as it always did.
std::optional<Decimal> issuedWith(Connection &connection, qint64 number);

// The receipt's rate as the layouts read it (a column VAT_RATIO, as SYNTELESTHS_VAT has).
QString printSql(qint64 number);

} // namespace ReceiptRate
