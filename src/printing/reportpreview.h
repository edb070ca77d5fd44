#pragma once

#include "renderer.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;

// The engine's preview window: one page at a time, page navigation, zoom, print and save as
// PDF.
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    ReportPreview(const Report::RenderedReport &report, QWidget *parent = nullptr);

    int currentPage() const { return m_page; } // 1-based
    void showPage(int page);
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    // The page as shown, for tests and screenshots.
    QImage pageImage() const;

    void firstPage() { showPage(1); }
    void priorPage() { showPage(m_page - 1); }
    void nextPage() { showPage(m_page + 1); }
    void lastPage() { showPage(m_report.pageCount()); }

private:
    void refresh();
    void print();
    void saveAsPdf();

    const Report::RenderedReport &m_report;
    int m_page = 1;
    double m_zoom = 1.0;
    QScrollArea *m_scroll;
    QLabel *m_view;
    QSpinBox *m_pageSpin;
    QLabel *m_pageCount;
    QComboBox *m_zoomBox;
    QPushButton *m_first;
    QPushButton *m_prior;
    QPushButton *m_next;
    QPushButton *m_last;
};
