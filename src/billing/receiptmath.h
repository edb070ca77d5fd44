#pragma once

#include <QString>

// The figures of one receipt, from the amount as entered and the VAT rate in percent.
namespace ReceiptMath {

// Euros to Cyprus pounds, the fixed conversion rate.
inline constexpr long double kPoundsPerEuro = 0.585274L;

// round(x / 0.01) * 0.01 on the extended-precision value, an exact half going to the even
// neighbour (so 0.125 gives 0.12 and 0.135 gives 0.14 when the quotient is an exact half).
double round2(long double x);

struct Figures {
    double amount = 0;   // A, as entered
    double amountCy = 0; // round2(A * 0.585274)
    double vat = 0;      // round2(A * R / 100)
    double total = 0;    // the VAT's number text read back, plus A
};

Figures compute(double amount, double ratePercent);

} // namespace ReceiptMath
