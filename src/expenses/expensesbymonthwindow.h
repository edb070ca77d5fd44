#pragma once

#include "expensesreviewwindow.h"

// "Λειτουργικά έξοδα - Κατά μήνα": the totals of each month with expenses in a range of
// years, with the totals of the range; prints EKSODA2.RAV.
class ExpensesByMonthWindow : public ExpensesReviewWindow {
    Q_OBJECT
public:
    explicit ExpensesByMonthWindow(QWidget *parent = nullptr);

protected:
    QString criterion(const QString &typed) const override;
    QString listSql(const QString &from, const QString &to) const override;
    QString totalsSql(const QString &from, const QString &to) const override;
};
