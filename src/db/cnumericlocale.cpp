#include "cnumericlocale.h"

#include <locale.h>

CNumericLocale::CNumericLocale()
{
    const locale_t current = uselocale(nullptr);
    // A copy of this thread's locale with only the numbers changed: texts keep their encoding.
    const locale_t base = duplocale(current);
    if (!base)
        return;
    m_c = newlocale(LC_NUMERIC_MASK, "C", base);
    if (!m_c) {
        freelocale(base);
        return;
    }
    m_previous = uselocale(m_c);
}

CNumericLocale::~CNumericLocale()
{
    if (!m_c)
        return;
    uselocale(m_previous);
    freelocale(m_c);
}

void CNumericLocale::setForProcess()
{
    std::setlocale(LC_NUMERIC, "C");
}
