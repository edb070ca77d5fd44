#include "expensesreviewwindow.h"

#include "dberror.h"
#include "exportdialog.h"
#include "exporttexts.h"
#include "expensestexts.h"
#include "messageservice.h"
#include "program.h"
#include "recordnavigator.h"
#include "sqltext.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace ExpensesTexts;

namespace {

const QStringList kTotalFields {QStringLiteral("AKSIA"), QStringLiteral("VAT"),
                                QStringLiteral("SYNOLO")};

} // namespace

ExpensesReviewWindow::ExpensesReviewWindow(const ReviewLayout &layout, QWidget *parent)
    : DataWindow(parent)
    , m_layout(layout)
    , m_list(m_connection)
    , m_totals(m_connection)
    , m_reportList(m_connection)
    , m_reportTotals(m_connection)
    , m_exportRows(m_connection)
    , m_report(this)
{
    setObjectName(layout.objectName);
    setUpWindow(layout.caption, 760, 540);
    closesWithWindow({&m_list, &m_totals, &m_reportList, &m_reportTotals, &m_exportRows});
    m_report.addConnection(layout.listConnection, &m_reportList);
    m_report.addConnection(layout.totalsConnection, &m_reportTotals);

    auto *page = new QVBoxLayout(this);
    auto *criteria = new QHBoxLayout;
    auto addField = [&](const QString &label, const QString &tip, const QString &name) {
        auto *caption = Kit::boldLabel(label, this);
        auto *field = new QLineEdit(this);
        field->setObjectName(name);
        field->setToolTip(tip);
        field->setFixedWidth(layout.fieldWidth);
        caption->setBuddy(field);
        criteria->addWidget(caption);
        criteria->addWidget(field);
        criteria->addWidget(Kit::requiredStar(this));
        criteria->addSpacing(16);
        connect(field, &QLineEdit::textChanged, this, &ExpensesReviewWindow::applyFindRule);
        return field;
    };
    m_from = addField(layout.fromLabel, layout.fromTip, QStringLiteral("fromField"));
    m_to = addField(layout.toLabel, layout.toTip, QStringLiteral("toField"));
    m_find = new QPushButton(layout.findCaption, this);
    m_find->setObjectName(QStringLiteral("findButton"));
    criteria->addWidget(m_find);
    criteria->addStretch();
    page->addLayout(criteria);
    setDefaultButton(m_find);
    connect(m_find, &QPushButton::clicked, this, &ExpensesReviewWindow::FindClick);

    m_grid = new RecordGrid(this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setRecordSet(&m_list, layout.columns);
    page->addWidget(m_grid, 1);

    auto *under = new QHBoxLayout;
    m_navigator = new RecordNavigator(RecordNavigator::Moves, this);
    m_navigator->setObjectName(QStringLiteral("navigator"));
    m_navigator->setFixedSize(4 * 30, 26);
    m_navigator->setRecordSet(&m_list);
    under->addWidget(m_navigator, 0, Qt::AlignTop);
    under->addStretch();

    auto *totals = new QGroupBox(kTotals, this);
    totals->setObjectName(QStringLiteral("totals"));
    auto *totalsGrid = new QGridLayout(totals);
    const QStringList captions {kTotalValue, kTotalVat, kTotalSum};
    for (int i = 0; i < captions.size(); ++i) {
        auto *caption = Kit::boldLabel(captions.at(i), totals);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *value = Kit::boldLabel(QString(), totals, true);
        value->setObjectName(QStringLiteral("total") + kTotalFields.at(i));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(90);
        totalsGrid->addWidget(caption, i, 0);
        totalsGrid->addWidget(value, i, 1);
        m_totalValues << value;
    }
    under->addWidget(totals);
    page->addLayout(under);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_print = new QPushButton(kPrint, this);
    m_print->setObjectName(QStringLiteral("printButton"));
    m_print->setAutoDefault(false);
    m_print->setEnabled(false);
    connect(m_print, &QPushButton::clicked, this, &ExpensesReviewWindow::PrintClick);
    buttons->addWidget(m_print);
    if (!layout.exportColumns.isEmpty()) {
        m_export = new QPushButton(ExportTexts::kExportButton, this);
        m_export->setObjectName(QStringLiteral("exportButton"));
        m_export->setAutoDefault(false);
        m_export->setEnabled(false);
        connect(m_export, &QPushButton::clicked, this, &ExpensesReviewWindow::ExportClick);
        buttons->insertWidget(buttons->count() - 1, m_export);
    }
    m_exit = addExitButton();
    buttons->addWidget(m_exit);
    page->addLayout(buttons);
    applyFindRule();
}

ExpensesReviewWindow::~ExpensesReviewWindow() = default;

QStringList ExpensesReviewWindow::totals() const
{
    QStringList out;
    for (const QLabel *value : m_totalValues)
        out << value->text();
    return out;
}

void ExpensesReviewWindow::applyFindRule()
{
    m_find->setEnabled(SqlText::IsSafeText(m_from->text().trimmed())
                       && SqlText::IsSafeText(m_to->text().trimmed()));
}

void ExpensesReviewWindow::FindClick()
{
    if (!m_find->isEnabled())
        return;
    // Reopening the connection empties what the last find showed, so that a refused find
    // leaves no rows and totals of other criteria on the screen.
    m_list.close();
    m_totals.close();
    if (!Kit::guarded(this, [this] { openConnection(); })) {
        showTotals();
        return;
    }
    setPrintable(true);
    m_keptFrom = criterion(m_from->text().trimmed());
    m_keptTo = criterion(m_to->text().trimmed());
    if (m_keptFrom == kError || m_keptTo == kError) {
        refuse();
        return;
    }
    try {
        reopen(m_list, listSql(m_keptFrom, m_keptTo));
        reopen(m_totals, totalsSql(m_keptFrom, m_keptTo));
    } catch (const DbError &) {
        // A statement the database refuses is, to the person, criteria it cannot search by.
        m_list.close();
        m_totals.close();
        refuse();
        return;
    }
    showTotals();
}

void ExpensesReviewWindow::refuse()
{
    showTotals();
    setPrintable(false);
    Messages::information(this, kBadCriteria);
}

void ExpensesReviewWindow::showTotals()
{
    const bool any = m_totals.isOpen() && m_totals.rowCount() > 0;
    for (int i = 0; i < m_totalValues.size(); ++i)
        m_totalValues[i]->setText(any ? m_totals.fieldText(kTotalFields.at(i)) : QString());
}

void ExpensesReviewWindow::PrintClick()
{
    if (!m_print->isEnabled())
        return;
    // The print runs the last find's criteria on the connection that find opened.
    Kit::guarded(this, [this] {
        reopen(m_reportList, listSql(m_keptFrom, m_keptTo));
        reopen(m_reportTotals, totalsSql(m_keptFrom, m_keptTo));
        m_report.setProjectFile(Program::AppDir + m_layout.layoutFile);
        m_report.execute();
    });
    for (Query *query : {&m_reportList, &m_reportTotals}) {
        query->close();
        query->clearSql();
    }
}

void ExpensesReviewWindow::setPrintable(bool printable)
{
    m_print->setEnabled(printable);
    if (m_export)
        m_export->setEnabled(printable);
}

void ExpensesReviewWindow::ExportClick()
{
    if (!m_export || !m_export->isEnabled())
        return;
    const auto name = [](const QString &criterion) {
        return ExportDialog::fileNameDate(criterion);
    };
    // As the print, the export reads the last find's criteria on the connection it opened.
    ExportDialog::exportTable(
        this, m_layout.exportFileName.arg(name(m_keptFrom), name(m_keptTo)), [this] {
            reopen(m_exportRows, exportSql(m_keptFrom, m_keptTo));
            return ExportTable::fromRecordSet(m_exportRows, m_layout.exportColumns,
                                              m_layout.exportSheet);
        });
    m_exportRows.close();
}

void ExpensesReviewWindow::done(int result)
{
    // The kept criteria survive; what the window shows does not.
    DataWindow::done(result);
    m_from->clear();
    m_to->clear();
    setPrintable(false);
    showTotals();
}
