#pragma once

#include "datawindow.h"
#include "exporttable.h"
#include "recordgrid.h"
#include "recordset.h"
#include "reportproject.h"

class QLabel;
class QLineEdit;
class QPushButton;
class RecordNavigator;

// What one expenses review differs in: captions, the two criteria fields, the grid, the layout
// it prints and the names of its two data connections.
struct ReviewLayout {
    QString objectName;
    QString caption;
    QString fromLabel, fromTip, toLabel, toTip;
    QString findCaption;
    QList<GridColumn> columns;
    QString layoutFile;
    QString listConnection, totalsConnection;
    int fieldWidth = 100;
    // A review that can be exported names the columns of its export; the others have none.
    QList<ExportColumn> exportColumns;
    QString exportSheet;
    QString exportFileName; // %1 and %2: the two criteria
};

// An expenses review: two criteria fields, a find that lists the expenses and their three
// totals, and a print of the last search. Created once and shown again each time: the
// criteria of the last find are kept for as long as the program runs and are what the print
// uses; closing the window empties the fields, the grid and the totals and disables the print.
class ExpensesReviewWindow : public DataWindow {
    Q_OBJECT
public:
    ~ExpensesReviewWindow() override;

    QLineEdit *fromField() const { return m_from; }
    QLineEdit *toField() const { return m_to; }
    QPushButton *findButton() const { return m_find; }
    QPushButton *printButton() const { return m_print; }
    // "Εξαγωγή σε αρχείο…", enabled and disabled with the print; null when not exported.
    QPushButton *exportButton() const { return m_export; }
    QPushButton *exitButton() const { return m_exit; }
    RecordGrid *grid() const { return m_grid; }
    RecordNavigator *navigator() const { return m_navigator; }
    // The three totals as shown: AKSIA, VAT, SYNOLO.
    QStringList totals() const;
    Query &list() { return m_list; }
    Query &totalsQuery() { return m_totals; }
    Query &reportList() { return m_reportList; }
    // The criteria of the last find, as they go into the SQL text.
    QString keptFrom() const { return m_keptFrom; }
    QString keptTo() const { return m_keptTo; }

    void FindClick();
    void PrintClick();
    // Writes the rows of the last find's criteria to a CSV file or an Excel workbook.
    void ExportClick();
    void done(int result) override;

protected:
    ExpensesReviewWindow(const ReviewLayout &layout, QWidget *parent);

    // The typed criterion as it goes into the SQL text, or "ERROR".
    virtual QString criterion(const QString &typed) const = 0;
    virtual QString listSql(const QString &from, const QString &to) const = 0;
    virtual QString totalsSql(const QString &from, const QString &to) const = 0;
    // The rows an export writes, with the columns that ReviewLayout::exportColumns names.
    virtual QString exportSql(const QString &, const QString &) const { return {}; }

private:
    void applyFindRule();
    void showTotals();
    void refuse();
    void setPrintable(bool printable);

    ReviewLayout m_layout;
    Query m_list;
    Query m_totals;
    Query m_reportList;
    Query m_reportTotals;
    Query m_exportRows;
    ReportProject m_report;
    QString m_keptFrom;
    QString m_keptTo;
    QLineEdit *m_from;
    QLineEdit *m_to;
    QPushButton *m_find;
    QPushButton *m_print;
    QPushButton *m_export = nullptr;
    QPushButton *m_exit;
    RecordGrid *m_grid;
    RecordNavigator *m_navigator;
    QList<QLabel *> m_totalValues;
};
