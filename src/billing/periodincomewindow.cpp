#include "periodincomewindow.h"

#include "billingsql.h"
#include "billingtexts.h"
#include "dberror.h"
#include "exportdialog.h"
#include "exporttexts.h"
#include "messageservice.h"
#include "sqltext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace BillingTexts;

namespace {

// What the accountant gets: one row per receipt in force, no totals (the spreadsheet sums).
const QString kExportSheet = QStringLiteral("Εισπράξεις");
const QString kExportFileName = QStringLiteral("Εισπράξεις %1 έως %2.csv");

QList<ExportColumn> kExportColumns()
{
    using K = ExportCell::Kind;
    return {
        {QStringLiteral("AR_APODEIKSHS"), QStringLiteral("Αριθμός απόδειξης"), K::Integer, 10},
        {QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερομηνία"), K::Date, 11},
        {QStringLiteral("PARALHPTHS"), QStringLiteral("Πληρωτής"), K::Text, 30},
        {QStringLiteral("PERIGRAFH"), QStringLiteral("Περιγραφή"), K::Text, 40},
        {QStringLiteral("TAMEIO"), QStringLiteral("Ταμείο"), K::Text, 14},
        {QStringLiteral("POSO"), QStringLiteral("Ποσό (EUR)"), K::Amount, 12},
        {QStringLiteral("VAT"), QStringLiteral("Φ.Π.Α (EUR)"), K::Amount, 12},
        {QStringLiteral("SYNOLIKO_POSO"), QStringLiteral("Ποσό + Φ.Π.Α (EUR)"), K::Amount, 16},
    };
}

} // namespace

PeriodIncomeWindow::PeriodIncomeWindow(QWidget *parent)
    : DataWindow(parent)
    , m_query(m_connection)
    , m_receipts(m_connection)
{
    setObjectName(QStringLiteral("PeriodIncomeWindow"));
    setUpWindow(kPeriodCaption, 420, 180);

    auto *dates = new QGridLayout;
    dates->setHorizontalSpacing(8);
    auto addDate = [&](int row, const QString &caption, const QString &hint, const QString &name) {
        auto *label = Kit::boldLabel(caption, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setToolTip(hint);
        edit->setFixedWidth(100);
        label->setBuddy(edit);
        dates->addWidget(label, row, 0);
        dates->addWidget(edit, row, 1);
        dates->addWidget(Kit::requiredStar(this), row, 2);
        return edit;
    };
    m_from = addDate(0, kFrom, kFromHint, QStringLiteral("editFrom"));
    m_to = addDate(1, kTo, kToHint, QStringLiteral("editTo"));
    dates->setColumnStretch(3, 1);

    m_find = new QPushButton(kFind, this);
    m_find->setObjectName(QStringLiteral("buttonFind"));
    setDefaultButton(m_find);
    m_export = new QPushButton(ExportTexts::kExportButton, this);
    m_export->setObjectName(QStringLiteral("buttonExport"));
    m_export->setAutoDefault(false);
    m_export->setEnabled(false);
    QPushButton *exit = addExitButton();
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_find);
    buttons->addWidget(m_export);
    buttons->addWidget(exit);
    buttons->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addLayout(dates, 1);
    top->addLayout(buttons);

    auto *results = new QGridLayout;
    results->setHorizontalSpacing(8);
    auto addResult = [&](int row, const QString &caption, const QString &field) {
        auto *label = Kit::boldLabel(caption, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *value = Kit::boldLabel(QString(), this, true);
        value->setObjectName(QStringLiteral("result") + field);
        results->addWidget(label, row, 0);
        results->addWidget(value, row, 1);
        m_results.insert(field, value);
    };
    addResult(0, kIncome, QStringLiteral("POSO"));
    addResult(1, kIncomeVat, QStringLiteral("VAT"));
    addResult(2, kIncomeLessVat, QStringLiteral("POSOPVAT"));
    results->setColumnStretch(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(results);
    layout->addStretch(1);

    QWidget::setTabOrder(m_from, m_to);
    QWidget::setTabOrder(m_to, m_find);
    QWidget::setTabOrder(m_find, m_export);
    QWidget::setTabOrder(m_export, exit);
    closesWithWindow({&m_query, &m_receipts});
    connect(m_from, &QLineEdit::textChanged, this, &PeriodIncomeWindow::updateButton);
    connect(m_to, &QLineEdit::textChanged, this, &PeriodIncomeWindow::updateButton);
    connect(m_find, &QPushButton::clicked, this, &PeriodIncomeWindow::findClick);
    connect(m_export, &QPushButton::clicked, this, &PeriodIncomeWindow::exportClick);
}

PeriodIncomeWindow::~PeriodIncomeWindow() = default;

QLabel *PeriodIncomeWindow::result(const QString &field) const
{
    return m_results.value(field);
}

void PeriodIncomeWindow::updateButton()
{
    m_find->setEnabled(SqlText::IsSafeText(m_from->text().trimmed())
                       && SqlText::IsSafeText(m_to->text().trimmed()));
}

void PeriodIncomeWindow::findClick()
{
    if (!m_find->isEnabled())
        return;
    // The results of an earlier search go with the reopened connection.
    for (QLabel *label : std::as_const(m_results))
        label->clear();
    m_export->setEnabled(false);
    try {
        m_query.close();
        openConnection();
        const QString from = SqlText::ToSqlDate(m_from->text().trimmed());
        const QString to = SqlText::ToSqlDate(m_to->text().trimmed());
        if (from == QLatin1String("ERROR") || to == QLatin1String("ERROR")) {
            Messages::information(this, kWrongCriteria);
            return;
        }
        reopen(m_query, BillingSql::periodIncome(from, to));
        m_keptFrom = from;
        m_keptTo = to;
    } catch (const DbError &) {
        Messages::information(this, kWrongCriteria);
        return;
    }
    m_export->setEnabled(true);
    for (auto it = m_results.cbegin(); it != m_results.cend(); ++it)
        it.value()->setText(m_query.rowCount() > 0 ? m_query.text(0, m_query.fieldIndex(it.key()))
                                                   : QString());
}

void PeriodIncomeWindow::exportClick()
{
    if (!m_export->isEnabled())
        return;
    const QString name = kExportFileName.arg(ExportDialog::fileNameDate(m_keptFrom),
                                             ExportDialog::fileNameDate(m_keptTo));
    ExportDialog::exportTable(this, name, [this] {
        reopen(m_receipts, BillingSql::periodReceipts(m_keptFrom, m_keptTo));
        return ExportTable::fromRecordSet(m_receipts, kExportColumns(), kExportSheet);
    });
    m_receipts.close();
}
