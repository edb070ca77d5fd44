#include "expensesbyperiodwindow.h"

#include "expensessql.h"
#include "expensestexts.h"
#include "sqltext.h"

using namespace ExpensesTexts;

namespace {

constexpr auto kRight = Qt::AlignRight | Qt::AlignVCenter;

ReviewLayout periodLayout()
{
    ReviewLayout l;
    l.objectName = QStringLiteral("expensesByPeriodWindow");
    l.caption = kPeriodCaption;
    l.fromLabel = kFromDate;
    l.fromTip = kFromDateTip;
    l.toLabel = kToDate;
    l.toTip = kToDateTip;
    l.findCaption = kPeriodFind;
    l.columns = {{QStringLiteral("PERIGRAFH"), QStringLiteral("Περιγραφή"), 270,
                  Qt::AlignLeft | Qt::AlignVCenter},
                 {QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερομηνία"), 90, Qt::AlignCenter},
                 {QStringLiteral("AKSIA"), QStringLiteral("Αξία (EUR)"), 100, kRight},
                 {QStringLiteral("VAT"), QStringLiteral("Φ.Π.Α (EUR)"), 100, kRight},
                 {QStringLiteral("SYNOLO"), QStringLiteral("Αξία + Φ.Π.Α (EUR)"), 150, kRight}};
    l.layoutFile = kPeriodLayout;
    l.listConnection = kPeriodListConnection;
    l.totalsConnection = kPeriodTotalsConnection;
    // One row per expense for the accountant, no totals (the spreadsheet sums).
    using K = ExportCell::Kind;
    l.exportColumns = {
        {QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερομηνία"), K::Date, 11},
        {QStringLiteral("PERIGRAFH"), QStringLiteral("Περιγραφή"), K::Text, 40},
        {QStringLiteral("POSO"), QStringLiteral("Αξία (EUR)"), K::Amount, 12},
        {QStringLiteral("VAT"), QStringLiteral("Φ.Π.Α (EUR)"), K::Amount, 12},
        {QStringLiteral("SYNOLO"), QStringLiteral("Αξία + Φ.Π.Α (EUR)"), K::Amount, 16},
    };
    l.exportSheet = QStringLiteral("Έξοδα");
    l.exportFileName = QStringLiteral("Έξοδα %1 έως %2.csv");
    return l;
}

} // namespace

ExpensesByPeriodWindow::ExpensesByPeriodWindow(QWidget *parent)
    : ExpensesReviewWindow(periodLayout(), parent)
{}

QString ExpensesByPeriodWindow::criterion(const QString &typed) const
{
    return SqlText::ToSqlDate(typed);
}

QString ExpensesByPeriodWindow::listSql(const QString &from, const QString &to) const
{
    return ExpensesSql::periodList(from, to);
}

QString ExpensesByPeriodWindow::totalsSql(const QString &from, const QString &to) const
{
    return ExpensesSql::periodTotals(from, to);
}

QString ExpensesByPeriodWindow::exportSql(const QString &from, const QString &to) const
{
    return ExpensesSql::periodExport(from, to);
}
