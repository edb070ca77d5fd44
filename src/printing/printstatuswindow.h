#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPrinter;
class QProgressBar;
class QPushButton;

namespace Report {
class RenderedReport;
}

// Shown while pages go to the printer: the page being printed and a cancel button.
class PrintStatusWindow : public QDialog {
    Q_OBJECT
public:
    explicit PrintStatusWindow(int pageCount, QWidget *parent = nullptr);
    void setPage(int page, int ofPages);
    bool cancelled() const { return m_cancelled; }
    void requestCancel();

private:
    QLabel *m_label;
    QProgressBar *m_bar;
    QPushButton *m_cancel;
    bool m_cancelled = false;
};

// Prints pages first..last on the printer with the status window shown; a cancel from the
// window stops after the current page and ends normally. Returns the number of pages printed.
// beforePage, when given, is called before each page (tests cancel from it).
int printWithStatus(const Report::RenderedReport &report, QPrinter &printer, int first, int last,
                    QWidget *parent,
                    const std::function<void(PrintStatusWindow &, int)> &beforePage = {});
