#include "printstatuswindow.h"

#include "renderer.h"
#include "window.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

PrintStatusWindow::PrintStatusWindow(int pageCount, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PrintStatusWindow"));
    setWindowTitle(QStringLiteral("Εκτύπωση"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint);
    Kit::paintSkyBlue(this);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("pageLabel"));
    m_label->setMinimumWidth(280);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, std::max(1, pageCount));
    m_cancel = new QPushButton(QStringLiteral("&Ακύρωση"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_cancel, &QPushButton::clicked, this, &PrintStatusWindow::requestCancel);
    setPage(0, pageCount);
}

void PrintStatusWindow::setPage(int page, int ofPages)
{
    m_label->setText(page == 0
                         ? QStringLiteral("Προετοιμασία εκτύπωσης...")
                         : QStringLiteral("Εκτύπωση σελίδας %1 από %2").arg(page).arg(ofPages));
    m_bar->setValue(page);
}

void PrintStatusWindow::requestCancel()
{
    m_cancelled = true;
    m_cancel->setEnabled(false);
    m_label->setText(QStringLiteral("Ακύρωση εκτύπωσης..."));
}

int printWithStatus(const Report::RenderedReport &report, QPrinter &printer, int first, int last,
                    QWidget *parent,
                    const std::function<void(PrintStatusWindow &, int)> &beforePage)
{
    if (last <= 0 || last > report.pageCount())
        last = report.pageCount();
    first = std::max(1, first);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(report.pageSize, report.orientation, QMarginsF()));
    printer.setDocName(report.title);
    PrintStatusWindow status(last - first + 1, parent);
    status.setWindowModality(Qt::ApplicationModal);
    status.show();
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const double dotsPerMm = printer.resolution() / 25.4;
    int printed = 0;
    for (int p = first; p <= last; ++p) {
        status.setPage(p - first + 1, last - first + 1);
        if (beforePage)
            beforePage(status, p);
        QApplication::processEvents();
        if (status.cancelled())
            break;
        if (printed > 0)
            printer.newPage();
        report.paintPage(painter, p - 1, dotsPerMm);
        ++printed;
    }
    if (status.cancelled())
        printer.abort();
    painter.end();
    status.hide();
    return printed;
}
