#include "reportoutputdialog.h"

#include "messageservice.h"
#include "printstatuswindow.h"
#include "reporterror.h"
#include "reportpreview.h"
#include "reportproject.h"
#include "window.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

ReportOutputDialog::ReportOutputDialog(int pageCount, const QString &title, bool offerPreview,
                                       QWidget *parent)
    : QDialog(parent)
    , m_pageCount(std::max(1, pageCount))
    , m_printer(new QPrinter(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("ReportOutputDialog"));
    setWindowTitle(title.isEmpty() ? QStringLiteral("Εκτύπωση αναφοράς")
                                   : QStringLiteral("Εκτύπωση αναφοράς - %1").arg(title));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    Kit::paintSkyBlue(this);

    auto *destination = new QGroupBox(QStringLiteral("Προορισμός"), this);
    auto *grid = new QGridLayout(destination);
    m_toPrinter = new QRadioButton(QStringLiteral("Ε&κτυπωτής:"), destination);
    m_toPrinter->setObjectName(QStringLiteral("printerRadio"));
    m_printers = new QComboBox(destination);
    m_printers->setObjectName(QStringLiteral("printerCombo"));
    m_printers->setMinimumWidth(220);
    const QStringList names = QPrinterInfo::availablePrinterNames();
    m_printers->addItems(names);
    const QString preferred = QPrinterInfo::defaultPrinterName();
    if (!preferred.isEmpty())
        m_printers->setCurrentText(preferred);
    m_setup = new QPushButton(QStringLiteral("&Ρύθμιση εκτυπωτή..."), destination);
    m_setup->setObjectName(QStringLiteral("setupButton"));
    m_toPreview = new QRadioButton(QStringLiteral("&Προεπισκόπηση στην οθόνη"), destination);
    m_toPreview->setObjectName(QStringLiteral("previewRadio"));
    m_toFile = new QRadioButton(QStringLiteral("&Αρχείο PDF:"), destination);
    m_toFile->setObjectName(QStringLiteral("fileRadio"));
    m_file = new QLineEdit(destination);
    m_file->setObjectName(QStringLiteral("fileEdit"));
    m_file->setText(QDir::home().filePath(QStringLiteral("αναφορά.pdf")));
    m_browse = new QPushButton(QStringLiteral("Ανα&ζήτηση..."), destination);
    m_browse->setObjectName(QStringLiteral("browseButton"));
    grid->addWidget(m_toPreview, 0, 0, 1, 3);
    grid->addWidget(m_toPrinter, 1, 0);
    grid->addWidget(m_printers, 1, 1);
    grid->addWidget(m_setup, 1, 2);
    grid->addWidget(m_toFile, 2, 0);
    grid->addWidget(m_file, 2, 1);
    grid->addWidget(m_browse, 2, 2);
    auto *destinations = new QButtonGroup(this);
    destinations->addButton(m_toPrinter);
    destinations->addButton(m_toPreview);
    destinations->addButton(m_toFile);

    auto *pages = new QGroupBox(QStringLiteral("Σελίδες"), this);
    auto *pagesRow = new QHBoxLayout(pages);
    m_allPages = new QRadioButton(QStringLiteral("Ό&λες (%1)").arg(m_pageCount), pages);
    m_allPages->setObjectName(QStringLiteral("allPagesRadio"));
    m_range = new QRadioButton(QStringLiteral("Α&πό:"), pages);
    m_range->setObjectName(QStringLiteral("rangeRadio"));
    m_from = new QSpinBox(pages);
    m_from->setObjectName(QStringLiteral("fromSpin"));
    m_from->setRange(1, m_pageCount);
    auto *toLabel = new QLabel(QStringLiteral("έ&ως:"), pages);
    m_to = new QSpinBox(pages);
    m_to->setObjectName(QStringLiteral("toSpin"));
    m_to->setRange(1, m_pageCount);
    m_to->setValue(m_pageCount);
    toLabel->setBuddy(m_to);
    pagesRow->addWidget(m_allPages);
    pagesRow->addSpacing(16);
    pagesRow->addWidget(m_range);
    pagesRow->addWidget(m_from);
    pagesRow->addWidget(toLabel);
    pagesRow->addWidget(m_to);
    pagesRow->addStretch();
    m_allPages->setChecked(true);

    auto *copiesRow = new QHBoxLayout;
    auto *copiesLabel = new QLabel(QStringLiteral("Α&ντίτυπα:"), this);
    m_copies = new QSpinBox(this);
    m_copies->setObjectName(QStringLiteral("copiesSpin"));
    m_copies->setRange(1, 99);
    copiesLabel->setBuddy(m_copies);
    copiesRow->addWidget(copiesLabel);
    copiesRow->addWidget(m_copies);
    copiesRow->addStretch();

    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("Εντά&ξει"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("okButton"));
    QPushButton *cancel = buttons->addButton(QStringLiteral("Άκυρο"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    m_ok->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(destination);
    layout->addWidget(pages);
    layout->addLayout(copiesRow);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_setup, &QPushButton::clicked, this, &ReportOutputDialog::setUpPrinter);
    connect(m_browse, &QPushButton::clicked, this, &ReportOutputDialog::browse);
    for (QRadioButton *b : {m_toPrinter, m_toPreview, m_toFile, m_allPages, m_range})
        connect(b, &QRadioButton::toggled, this, &ReportOutputDialog::updateState);
    connect(m_from, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_to->value() < v)
            m_to->setValue(v);
    });
    connect(m_to, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_from->value() > v)
            m_from->setValue(v);
    });

    m_toPrinter->setEnabled(!names.isEmpty());
    m_toPreview->setEnabled(offerPreview);
    if (offerPreview)
        m_toPreview->setChecked(true);
    else if (!names.isEmpty())
        m_toPrinter->setChecked(true);
    else
        m_toFile->setChecked(true);
    updateState();
}

ReportOutputDialog::~ReportOutputDialog()
{
    delete m_printer;
}

ReportOutputDialog::Destination ReportOutputDialog::destination() const
{
    if (m_toPrinter->isChecked())
        return Destination::Printer;
    if (m_toFile->isChecked())
        return Destination::File;
    return Destination::Preview;
}

void ReportOutputDialog::setDestination(Destination d)
{
    (d == Destination::Printer    ? m_toPrinter
         : d == Destination::File ? m_toFile
                                  : m_toPreview)
        ->setChecked(true);
}

QString ReportOutputDialog::fileName() const
{
    return m_file->text().trimmed();
}

void ReportOutputDialog::setFileName(const QString &name)
{
    m_file->setText(name);
}

int ReportOutputDialog::copies() const
{
    return m_copies->value();
}

int ReportOutputDialog::firstPage() const
{
    return m_range->isChecked() ? m_from->value() : 1;
}

int ReportOutputDialog::lastPage() const
{
    return m_range->isChecked() ? m_to->value() : m_pageCount;
}

void ReportOutputDialog::accept()
{
    if (destination() == Destination::File && fileName().isEmpty()) {
        m_file->setFocus();
        return;
    }
    if (destination() == Destination::Printer)
        m_printer->setPrinterName(m_printers->currentText());
    QDialog::accept();
}

void ReportOutputDialog::updateState()
{
    const bool printer = m_toPrinter->isChecked();
    const bool preview = m_toPreview->isChecked();
    m_printers->setEnabled(printer);
    m_setup->setEnabled(printer);
    m_file->setEnabled(m_toFile->isChecked());
    m_browse->setEnabled(m_toFile->isChecked());
    m_copies->setEnabled(printer);
    // The preview always shows the whole report.
    m_allPages->setEnabled(!preview);
    m_range->setEnabled(!preview);
    m_from->setEnabled(!preview && m_range->isChecked());
    m_to->setEnabled(!preview && m_range->isChecked());
}

void ReportOutputDialog::setUpPrinter()
{
    m_printer->setPrinterName(m_printers->currentText());
    QPageSetupDialog setup(m_printer, this);
    ModalRunner::exec(&setup);
}

void ReportOutputDialog::browse()
{
    const QString name
        = QFileDialog::getSaveFileName(this, QStringLiteral("Αποθήκευση σε PDF"), fileName(),
                                       QStringLiteral("Αρχεία PDF (*.pdf)"));
    if (!name.isEmpty())
        m_file->setText(name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)
                            ? name
                            : name + QLatin1String(".pdf"));
}

namespace ReportOutput {

void interactive(const Report::RenderedReport &report, QWidget *parent)
{
    ReportOutputDialog dialog(report.pageCount(), report.title, true, parent);
    if (ModalRunner::exec(&dialog) != QDialog::Accepted)
        return; // cancelling the dialogue ends the run normally
    switch (dialog.destination()) {
    case ReportOutputDialog::Destination::Preview: {
        ReportPreview preview(report, parent);
        ModalRunner::exec(&preview);
        break;
    }
    case ReportOutputDialog::Destination::File:
        savePdf(report, dialog.fileName(), dialog.firstPage(), dialog.lastPage());
        break;
    case ReportOutputDialog::Destination::Printer:
        dialog.printer().setCopyCount(dialog.copies());
        printWithStatus(report, dialog.printer(), dialog.firstPage(), dialog.lastPage(), parent);
        break;
    }
}

} // namespace ReportOutput
