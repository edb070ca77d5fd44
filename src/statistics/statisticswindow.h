#pragma once

#include "datawindow.h"
#include "practicestatistics.h"

#include <QList>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
struct FigureTable;

// The practice at a glance: income, expenses and the net result, visits and new patients,
// and appointments kept and missed, per month over 12 months ending with a chosen month,
// beside the same months a year before. Each chart has its figures under it and a table of
// the same figures that a screen reader can walk. Nothing is written.
class StatisticsWindow : public DataWindow {
    Q_OBJECT
public:
    explicit StatisticsWindow(QWidget *parent = nullptr);
    ~StatisticsWindow() override;

    // Reads the figures for the year and month chosen once the window has been painted.
    void FormShow() override;

    QSpinBox *yearBox() const { return m_year; }
    QComboBox *monthBox() const { return m_month; }
    QPushButton *printButton() const { return m_print; }
    QPushButton *exportButton() const { return m_export; }
    QTabWidget *tabs() const { return m_tabs; }
    // True once the figures of the chosen period have been read (or failed to be).
    bool hasRead() const { return m_loaded; }
    // The figures as last read.
    const PracticeStatistics &statistics() const { return m_statistics; }

    // Reads the figures of the chosen period and draws everything; a failure of the database
    // is shown in the error dialog and leaves the window empty. Changing the year or the month
    // afterwards reads again.
    void refresh();
    void printClick();
    void exportClick();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void showFigures();
    QWidget *chartPage(const FigureTable &table, int chart);

    PracticeStatistics m_statistics;
    bool m_loaded = false;
    bool m_readAfterPaint = false;
    QSpinBox *m_year;
    QComboBox *m_month;
    QPushButton *m_print;
    QPushButton *m_export;
    QTabWidget *m_tabs;
};
