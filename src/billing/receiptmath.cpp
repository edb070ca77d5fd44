#include "receiptmath.h"

#include "sqltext.h"

#include <cfenv>
#include <cmath>

namespace ReceiptMath {

double round2(long double x)
{
    // nearbyint rounds in the current mode, which is to-nearest with ties to even unless
    // someone changed it; the mode is set for the call so the result never depends on that.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const long double r = std::nearbyint(x / 0.01L);
    std::fesetround(saved);
    return double(r * 0.01L);
}

Figures compute(double amount, double ratePercent)
{
    Figures f;
    f.amount = amount;
    f.amountCy = round2(static_cast<long double>(amount) * kPoundsPerEuro);
    // Multiply first, then divide.
    f.vat = round2(static_cast<long double>(amount) * ratePercent / 100.0L);
    // The total adds the VAT as it is written into the SQL to the amount as entered.
    f.total = SqlText::number(f.vat).toDouble() + amount;
    return f;
}

} // namespace ReceiptMath
