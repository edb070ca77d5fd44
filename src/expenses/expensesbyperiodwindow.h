#pragma once

#include "expensesreviewwindow.h"

// "Λειτουργικά έξοδα - Αναλυτική έρευνα": every expense between two typed dates, oldest first,
// with the totals; prints EKSODA1.RAV.
class ExpensesByPeriodWindow : public ExpensesReviewWindow {
    Q_OBJECT
public:
    explicit ExpensesByPeriodWindow(QWidget *parent = nullptr);

protected:
    QString criterion(const QString &typed) const override;
    QString listSql(const QString &from, const QString &to) const override;
    QString totalsSql(const QString &from, const QString &to) const override;
    QString exportSql(const QString &from, const QString &to) const override;
};
