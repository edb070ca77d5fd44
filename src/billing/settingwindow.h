#pragma once

#include "datawindow.h"
#include "recordset.h"

class FieldBinder;
class QLineEdit;
class QPushButton;
class RecordNavigator;

// A window that sets one number of the practice, kept in the first row of a one-row table:
// a label with its red mark, the field bound to the column, a save button and the exit button.
// Typing starts an edit of the row (or a new row when there is none); only the save button
// writes, and closing drops an unsaved edit.
class SettingWindow : public DataWindow {
    Q_OBJECT
public:
    SettingWindow(const QString &caption, const QString &label, const QString &table,
                  const QString &column, QWidget *parent = nullptr);
    ~SettingWindow() override;

    QLineEdit *valueBox() const { return m_value; }
    RecordNavigator *saveBar() const { return m_save; }
    RecordSet &records() { return m_table; }

    // The save button, as a click runs it.
    void saveClick();

protected:
    // Before the row is written: false keeps it in edit, unwritten, after telling the person.
    virtual bool acceptable(const QString &typed)
    {
        Q_UNUSED(typed);
        return true;
    }
    // After the row was written.
    virtual void saved() {}

private:
    Table m_table;
    FieldBinder *m_binder;
    QLineEdit *m_value;
    RecordNavigator *m_save;
};

// Sets the number from which receipts start; offered only while no number is set.
class ReceiptNumberingWindow : public SettingWindow {
    Q_OBJECT
public:
    explicit ReceiptNumberingWindow(QWidget *parent = nullptr);

protected:
    // Only a whole number greater than 0: the row, once written, cannot be set again here, and
    // every receipt is numbered from it.
    bool acceptable(const QString &typed) override;
};

// Sets the VAT rate of every receipt. The program ends after a rate is saved, so that no window
// keeps issuing with the old rate; the new rate holds from the next start.
class VatRateWindow : public SettingWindow {
    Q_OBJECT
public:
    explicit VatRateWindow(QWidget *parent = nullptr);

protected:
    void saved() override;
};
