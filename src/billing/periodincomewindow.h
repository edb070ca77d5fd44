#pragma once

#include "datawindow.h"
#include "recordset.h"

#include <QHash>

class QLabel;
class QLineEdit;
class QPushButton;

// The practice's income between two dates, from the receipts in force.
class PeriodIncomeWindow : public DataWindow {
    Q_OBJECT
public:
    explicit PeriodIncomeWindow(QWidget *parent = nullptr);
    ~PeriodIncomeWindow() override;

    QLineEdit *fromBox() const { return m_from; }
    QLineEdit *toBox() const { return m_to; }
    QPushButton *findButton() const { return m_find; }
    // POSO, VAT, POSOPVAT as shown.
    QLabel *result(const QString &field) const;

    void findClick();

private:
    void updateButton();

    Query m_query;
    QLineEdit *m_from;
    QLineEdit *m_to;
    QPushButton *m_find;
    QHash<QString, QLabel *> m_results;
};
