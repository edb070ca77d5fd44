#include "expenseseditor.h"

#include "expensestexts.h"

using namespace ExpensesTexts;

namespace ExpensesEditor {

EditorLayout layout()
{
    constexpr auto kRight = Qt::AlignRight | Qt::AlignVCenter;
    EditorLayout l;
    l.objectName = QStringLiteral("expensesEditWindow");
    l.caption = kEditCaption;
    l.width = 640;
    l.height = 520;
    l.table = QStringLiteral("EKSODA");
    l.sortText = kEditSort;
    l.fields = {{QStringLiteral("Ημερομηνία:"), QStringLiteral("HMEROMHNIA"), kStar, false, 100},
                {QStringLiteral("Ποσό:"), QStringLiteral("POSO"), kEuroMark, false, 100},
                {QStringLiteral("Φ.Π.Α:"), QStringLiteral("VAT"), kEuroMark, false, 100},
                {QStringLiteral("Περιγραφή:"), QStringLiteral("PERIGRAFH"), kStar, false}};
    l.columns = {{QStringLiteral("PERIGRAFH"), QStringLiteral("Περιγραφή"), 300,
                  Qt::AlignLeft | Qt::AlignVCenter},
                 {QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερομηνία"), 90, Qt::AlignCenter},
                 {QStringLiteral("POSO"), QStringLiteral("Ποσό (EUR)"), 100, kRight},
                 {QStringLiteral("VAT"), QStringLiteral("Φ.Π.Α (EUR)"), 100, kRight}};
    return l;
}

} // namespace ExpensesEditor
