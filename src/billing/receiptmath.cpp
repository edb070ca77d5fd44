#include "receiptmath.h"

namespace ReceiptMath {

Figures compute(const Decimal &amount, const Decimal &ratePercent)
{
    constexpr auto toEven = Decimal::Rounding::HalfEven;
    Figures f;
    f.amount = amount;
    f.amountCy = (amount * kPoundsPerEuro).rounded(2, toEven);
    f.vat = (amount * ratePercent).shifted(2).rounded(2, toEven);
    f.total = f.vat + amount;
    return f;
}

} // namespace ReceiptMath
