#pragma once

#include "datawindow.h"
#include "recordset.h"

class FieldBinder;
class QLineEdit;
class QPushButton;
class RecordNavigator;

// The practice details that every printed receipt carries: sixteen lines of the one row of
// INFORMATION, saved with the save button, previewed on a receipt with no receipt row.
class PracticeDetailsWindow : public DataWindow {
    Q_OBJECT
public:
    explicit PracticeDetailsWindow(QWidget *parent = nullptr);
    ~PracticeDetailsWindow() override;

    // The columns of INFORMATION in the window's order.
    static const QStringList &columns();

    QLineEdit *field(const QString &column) const;
    RecordNavigator *saveBar() const { return m_save; }
    QPushButton *previewButton() const { return m_preview; }
    RecordSet &information() { return m_table; }

    void previewClick();

private:
    Table m_table;
    FieldBinder *m_binder;
    QList<QLineEdit *> m_fields;
    RecordNavigator *m_save;
    QPushButton *m_preview;
};
