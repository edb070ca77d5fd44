#pragma once

#include "datawindow.h"
#include "recordset.h"

class QLabel;
class QPushButton;
class QRadioButton;
class RecordGrid;
class RecordNavigator;

// The register of every receipt issued: cancel one (its payment goes, the receipt stays,
// marked invalid) or print it again.
class IssuedReceiptsWindow : public DataWindow {
    Q_OBJECT
public:
    explicit IssuedReceiptsWindow(QWidget *parent = nullptr);
    ~IssuedReceiptsWindow() override;

    void FormShow() override;

    RecordGrid *grid() const { return m_grid; }
    RecordNavigator *navigator() const { return m_navigator; }
    QLabel *countLine() const { return m_count; }
    // With the e-books on: how many receipts (and cancellations) still wait to reach them.
    QLabel *waitingLine() const { return m_waiting; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *cancelButton() const { return m_cancel; }
    QRadioButton *sortChoice(int index) const { return m_sort[index]; }
    RecordSet &receipts() { return m_query; }

    // The buttons' actions, as a click runs them.
    void printClick();
    void cancelClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buttonRule();
    void sortChanged();
    void showWaiting();
    QString registerSql() const;
    qint64 currentNumber() const;

    Query m_query;
    RecordGrid *m_grid;
    QLabel *m_count;
    RecordNavigator *m_navigator;
    QRadioButton *m_sort[3];
    QPushButton *m_print;
    QPushButton *m_cancel;
    QLabel *m_waiting = nullptr;
    bool m_ebooks = false;
};
