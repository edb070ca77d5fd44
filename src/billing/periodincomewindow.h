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
    // "Εξαγωγή σε αρχείο…": enabled by a search that found its results, for that search's
    // period.
    QPushButton *exportButton() const { return m_export; }
    // POSO, VAT, POSOPVAT as shown.
    QLabel *result(const QString &field) const;

    void findClick();
    // Writes the receipts in force of the last search's period, one row each, to a CSV file or
    // an Excel workbook the person names.
    void exportClick();

private:
    void updateButton();

    Query m_query;
    Query m_receipts;
    // The period of the last search that found its results, as SQL date literals.
    QString m_keptFrom;
    QString m_keptTo;
    QLineEdit *m_from;
    QLineEdit *m_to;
    QPushButton *m_find;
    QPushButton *m_export;
    QHash<QString, QLabel *> m_results;
};
