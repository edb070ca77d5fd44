#pragma once

#include "decimal.h"

// The figures of one receipt, from the amount as entered and the VAT rate in percent, in exact
// decimal arithmetic: 10.10 at 15 % is a VAT of exactly 1.515 before its rounding.
namespace ReceiptMath {

// Euros to Cyprus pounds, the fixed conversion rate 0.585274.
inline const Decimal kPoundsPerEuro{585274, 6};

struct Figures {
    Decimal amount;   // A, as entered
    Decimal amountCy; // A × 0.585274 to the cent, an exact half to the even cent
    Decimal vat;      // A × R ÷ 100 to the cent, an exact half to the even cent
    Decimal total;    // the VAT plus A
};

// Throws std::overflow_error on figures beyond what 128 bits hold (never for typed amounts).
Figures compute(const Decimal &amount, const Decimal &ratePercent);

} // namespace ReceiptMath
