#include "reportpreview.h"

#include "printstatuswindow.h"
#include "reporterror.h"
#include "reportoutputdialog.h"
#include "reportproject.h"
#include "window.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
// 100 % shows a page at its real size on a 96 dpi screen.
constexpr double kScreenDotsPerMm = 96.0 / 25.4;
} // namespace

ReportPreview::ReportPreview(const Report::RenderedReport &report, QWidget *parent)
    : QDialog(parent)
    , m_report(report)
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(report.title.isEmpty() ? QStringLiteral("Προεπισκόπηση")
                                          : QStringLiteral("Προεπισκόπηση - %1").arg(report.title));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowMaximizeButtonHint);

    auto button = [this](const QString &text, const QString &name, const QString &tip) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setToolTip(tip);
        if (!tip.isEmpty())
            b->setAccessibleName(tip); // a screen reader says "Επόμενη σελίδα", not the arrow
        b->setAutoDefault(false);
        return b;
    };
    auto narrow = [](QPushButton *b) {
        b->setMaximumWidth(44);
        return b;
    };
    m_first = narrow(button(QStringLiteral("|◀"), QStringLiteral("firstButton"),
                            QStringLiteral("Πρώτη σελίδα")));
    m_prior = narrow(button(QStringLiteral("◀"), QStringLiteral("priorButton"),
                            QStringLiteral("Προηγούμενη σελίδα")));
    m_next = narrow(button(QStringLiteral("▶"), QStringLiteral("nextButton"),
                           QStringLiteral("Επόμενη σελίδα")));
    m_last = narrow(button(QStringLiteral("▶|"), QStringLiteral("lastButton"),
                           QStringLiteral("Τελευταία σελίδα")));
    auto *pageLabel = new QLabel(QStringLiteral("&Σελίδα"), this);
    m_pageSpin = new QSpinBox(this);
    m_pageSpin->setObjectName(QStringLiteral("pageSpin"));
    m_pageSpin->setRange(1, std::max(1, report.pageCount()));
    pageLabel->setBuddy(m_pageSpin);
    m_pageCount = new QLabel(QStringLiteral("από %1").arg(report.pageCount()), this);
    m_pageCount->setObjectName(QStringLiteral("pageCountLabel"));
    auto *zoomOut = narrow(
        button(QStringLiteral("−"), QStringLiteral("zoomOutButton"), QStringLiteral("Σμίκρυνση")));
    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("zoomBox"));
    for (int z : {50, 75, 100, 125, 150, 200, 300})
        m_zoomBox->addItem(QStringLiteral("%1 %").arg(z), z / 100.0);
    auto *zoomIn = narrow(
        button(QStringLiteral("+"), QStringLiteral("zoomInButton"), QStringLiteral("Μεγέθυνση")));
    auto *print = button(QStringLiteral("&Εκτύπωση..."), QStringLiteral("printButton"), QString());
    auto *save
        = button(QStringLiteral("Αποθήκευση σε &PDF..."), QStringLiteral("saveButton"), QString());
    auto *close = button(QStringLiteral("&Κλείσιμο"), QStringLiteral("closeButton"), QString());

    auto *bar = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *> {m_first, m_prior, pageLabel, m_pageSpin,
                                                        m_pageCount, m_next, m_last})
        bar->addWidget(w);
    bar->addSpacing(20);
    bar->addWidget(zoomOut);
    bar->addWidget(m_zoomBox);
    bar->addWidget(zoomIn);
    bar->addStretch();
    bar->addWidget(print);
    bar->addWidget(save);
    bar->addWidget(close);

    m_view = new QLabel(this);
    m_view->setObjectName(QStringLiteral("pageView"));
    m_view->setAlignment(Qt::AlignCenter);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("pageArea"));
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(true);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setStyleSheet(QStringLiteral("QScrollArea { background: #808080; }"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);

    connect(m_first, &QPushButton::clicked, this, &ReportPreview::firstPage);
    connect(m_prior, &QPushButton::clicked, this, &ReportPreview::priorPage);
    connect(m_next, &QPushButton::clicked, this, &ReportPreview::nextPage);
    connect(m_last, &QPushButton::clicked, this, &ReportPreview::lastPage);
    connect(m_pageSpin, &QSpinBox::valueChanged, this, &ReportPreview::showPage);
    connect(m_zoomBox, &QComboBox::currentIndexChanged, this,
            [this](int i) { setZoom(m_zoomBox->itemData(i).toDouble()); });
    connect(zoomIn, &QPushButton::clicked, this, [this] {
        m_zoomBox->setCurrentIndex(std::min(m_zoomBox->currentIndex() + 1, m_zoomBox->count() - 1));
    });
    connect(zoomOut, &QPushButton::clicked, this,
            [this] { m_zoomBox->setCurrentIndex(std::max(m_zoomBox->currentIndex() - 1, 0)); });
    connect(print, &QPushButton::clicked, this, &ReportPreview::print);
    connect(save, &QPushButton::clicked, this, &ReportPreview::saveAsPdf);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    m_zoomBox->setCurrentIndex(2);
    refresh();
    QSize size(int(report.pageSizeMm.width() * kScreenDotsPerMm) + 60, 900);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(std::max(size.width(), bar->sizeHint().width() + 30), size.height());
}

void ReportPreview::showPage(int page)
{
    page = std::clamp(page, 1, std::max(1, m_report.pageCount()));
    if (page == m_page && !m_view->pixmap().isNull())
        return;
    m_page = page;
    refresh();
}

void ReportPreview::setZoom(double zoom)
{
    m_zoom = std::clamp(zoom, 0.25, 4.0);
    const int index = m_zoomBox->findData(m_zoom);
    if (index >= 0 && index != m_zoomBox->currentIndex())
        m_zoomBox->setCurrentIndex(index);
    refresh();
}

QImage ReportPreview::pageImage() const
{
    const double dpm = kScreenDotsPerMm * m_zoom;
    QImage image(QSize(int(m_report.pageSizeMm.width() * dpm),
                       int(m_report.pageSizeMm.height() * dpm)),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // Fonts are sized for the image's own resolution.
    image.setDotsPerMeterX(int(dpm * 1000));
    image.setDotsPerMeterY(int(dpm * 1000));
    painter.end();
    painter.begin(&image);
    m_report.paintPage(painter, m_page - 1, dpm);
    return image;
}

void ReportPreview::refresh()
{
    m_view->setPixmap(QPixmap::fromImage(pageImage()));
    const QSignalBlocker block(m_pageSpin);
    m_pageSpin->setValue(m_page);
    m_first->setEnabled(m_page > 1);
    m_prior->setEnabled(m_page > 1);
    m_next->setEnabled(m_page < m_report.pageCount());
    m_last->setEnabled(m_page < m_report.pageCount());
}

void ReportPreview::print()
{
    Kit::guarded(this, [this] {
        ReportOutputDialog dialog(m_report.pageCount(), m_report.title, false, this);
        if (ModalRunner::exec(&dialog) != QDialog::Accepted)
            return;
        if (dialog.destination() == ReportOutputDialog::Destination::File) {
            ReportOutput::savePdf(m_report, dialog.fileName(), dialog.firstPage(),
                                  dialog.lastPage());
            return;
        }
        dialog.printer().setCopyCount(dialog.copies());
        printWithStatus(m_report, dialog.printer(), dialog.firstPage(), dialog.lastPage(), this);
    });
}

void ReportPreview::saveAsPdf()
{
    QString name
        = QFileDialog::getSaveFileName(this, QStringLiteral("Αποθήκευση σε PDF"),
                                       QDir::home().filePath(QStringLiteral("αναφορά.pdf")),
                                       QStringLiteral("Αρχεία PDF (*.pdf)"));
    if (name.isEmpty())
        return;
    if (!name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        name += QLatin1String(".pdf");
    Kit::guarded(this, [&] { ReportOutput::savePdf(m_report, name); });
}
