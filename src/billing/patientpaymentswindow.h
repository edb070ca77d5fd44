#pragma once

#include "datawindow.h"
#include "recordset.h"

#include <QHash>

class QLabel;
class RecordGrid;
class RecordNavigator;

// What one patient has paid: the payments newest first and their totals. Payments of
// cancelled receipts are gone from the table and do not show.
class PatientPaymentsWindow : public DataWindow {
    Q_OBJECT
public:
    explicit PatientPaymentsWindow(QWidget *parent = nullptr);
    ~PatientPaymentsWindow() override;

    QString PatientId;
    QString PatientFirstName;
    QString PatientSurname;

    void FormShow() override;

    RecordGrid *grid() const { return m_grid; }
    RecordSet &payments() { return m_list; }
    // SYNOLO, EISPRAKSH, VAT, SYNOLIKO_POSO as shown.
    QLabel *total(const QString &field) const;

private:
    Query m_list;
    Query m_totals;
    QLabel *m_firstName;
    QLabel *m_surname;
    RecordGrid *m_grid;
    RecordNavigator *m_navigator;
    QHash<QString, QLabel *> m_totalLabels;
};
