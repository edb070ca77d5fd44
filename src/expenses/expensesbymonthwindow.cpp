#include "expensesbymonthwindow.h"

#include "expensessql.h"
#include "expensestexts.h"

using namespace ExpensesTexts;

namespace {

constexpr auto kRight = Qt::AlignRight | Qt::AlignVCenter;

ReviewLayout monthLayout()
{
    ReviewLayout l;
    l.objectName = QStringLiteral("expensesByMonthWindow");
    l.caption = kMonthCaption;
    l.fromLabel = kFromYear;
    l.fromTip = kFromYearTip;
    l.toLabel = kToYear;
    l.toTip = kToYearTip;
    l.findCaption = kMonthFind;
    l.columns = {{QStringLiteral("MONTH"), QStringLiteral("Μήνας"), 90, Qt::AlignCenter},
                 {QStringLiteral("YEAR"), QStringLiteral("Έτος"), 90, Qt::AlignCenter},
                 {QStringLiteral("AKSIA"), QStringLiteral("Αξία (EUR)"), 130, kRight},
                 {QStringLiteral("VAT"), QStringLiteral("Φ.Π.Α (EUR)"), 130, kRight},
                 {QStringLiteral("SYNOLO"), QStringLiteral("Αξία +Φ.Π.Α (EUR)"), 150, kRight}};
    l.layoutFile = kMonthLayout;
    l.listConnection = kMonthListConnection;
    l.totalsConnection = kMonthTotalsConnection;
    l.fieldWidth = 60;
    return l;
}

} // namespace

ExpensesByMonthWindow::ExpensesByMonthWindow(QWidget *parent)
    : ExpensesReviewWindow(monthLayout(), parent)
{}

QString ExpensesByMonthWindow::criterion(const QString &typed) const
{
    return ExpensesSql::year(typed);
}

QString ExpensesByMonthWindow::listSql(const QString &from, const QString &to) const
{
    return ExpensesSql::monthList(from, to);
}

QString ExpensesByMonthWindow::totalsSql(const QString &from, const QString &to) const
{
    return ExpensesSql::monthTotals(from, to);
}
