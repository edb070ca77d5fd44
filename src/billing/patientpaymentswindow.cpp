#include "patientpaymentswindow.h"

#include "billingsql.h"
#include "billingtexts.h"
#include "recordgrid.h"
#include "recordnavigator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace BillingTexts;

namespace {
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
} // namespace

PatientPaymentsWindow::PatientPaymentsWindow(QWidget *parent)
    : DataWindow(parent)
    , m_list(m_connection)
    , m_totals(m_connection)
{
    setObjectName(QStringLiteral("PatientPaymentsWindow"));
    setUpWindow(kPaymentsCaption, 860, 520);

    auto *names = new QHBoxLayout;
    m_firstName = Kit::boldLabel(QString(), this, true);
    m_firstName->setObjectName(QStringLiteral("valueFirstName"));
    m_surname = Kit::boldLabel(QString(), this, true);
    m_surname->setObjectName(QStringLiteral("valueSurname"));
    names->addWidget(Kit::boldLabel(kFirstName, this));
    names->addWidget(m_firstName);
    names->addSpacing(30);
    names->addWidget(Kit::boldLabel(kSurname, this));
    names->addWidget(m_surname);
    names->addStretch(1);

    m_grid = new RecordGrid(this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setRecordSet(&m_list,
                         {{QStringLiteral("AR_APODEIKSHS"), kColNumber, 120, Qt::AlignCenter},
                          {QStringLiteral("HMEROMHNIA"), kColDate, 162, Qt::AlignCenter},
                          {QStringLiteral("PERIGRAFH"), kColDescription, 180, kLeft},
                          {QStringLiteral("TAMEIO"), kColFund, 70, Qt::AlignCenter},
                          {QStringLiteral("POSO"), kColAmount, 78, kRight},
                          {QStringLiteral("VAT"), kColVat, 80, kRight},
                          {QStringLiteral("SYNOLIKO_POSO"), kColTotal, 126, kRight}});
    m_navigator = new RecordNavigator(RecordNavigator::Moves, this);
    m_navigator->setObjectName(QStringLiteral("navigator"));
    m_navigator->setRecordSet(&m_list);

    auto *totals = new QGridLayout;
    totals->setHorizontalSpacing(8);
    auto addTotal = [&](int row, const QString &caption, const QString &field) {
        auto *label = Kit::boldLabel(caption, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *value = Kit::boldLabel(QString(), this, true);
        value->setObjectName(QStringLiteral("total") + field);
        value->setMinimumWidth(90);
        totals->addWidget(label, row, 0);
        totals->addWidget(value, row, 1);
        m_totalLabels.insert(field, value);
    };
    addTotal(0, kReceiptCount, QStringLiteral("SYNOLO"));
    auto *heading = Kit::boldLabel(kTotalsHeading, this);
    heading->setAlignment(Qt::AlignCenter);
    totals->addWidget(heading, 1, 0, 1, 2);
    addTotal(2, kTotalAmount, QStringLiteral("EISPRAKSH"));
    addTotal(3, kTotalVat, QStringLiteral("VAT"));
    addTotal(4, kTotalWithVat, QStringLiteral("SYNOLIKO_POSO"));

    QPushButton *exit = addExitButton();
    auto *bottom = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(m_navigator, 0, Qt::AlignLeft);
    left->addStretch(1);
    bottom->addLayout(left);
    bottom->addStretch(1);
    bottom->addLayout(totals);
    bottom->addSpacing(30);
    auto *right = new QVBoxLayout;
    right->addStretch(1);
    right->addWidget(exit);
    bottom->addLayout(right);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addLayout(names);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    closesWithWindow({&m_list, &m_totals});
}

PatientPaymentsWindow::~PatientPaymentsWindow() = default;

QLabel *PatientPaymentsWindow::total(const QString &field) const
{
    return m_totalLabels.value(field);
}

void PatientPaymentsWindow::FormShow()
{
    m_firstName->setText(PatientFirstName);
    m_surname->setText(PatientSurname);
    Kit::guarded(this, [this] {
        openConnection();
        reopen(m_list, BillingSql::patientPayments(PatientId));
        reopen(m_totals, BillingSql::patientTotals(PatientId));
    });
    // A sum over no rows is empty and shows empty.
    for (auto it = m_totalLabels.cbegin(); it != m_totalLabels.cend(); ++it)
        it.value()->setText(m_totals.isOpen() && m_totals.rowCount() > 0
                                ? m_totals.text(0, m_totals.fieldIndex(it.key()))
                                : QString());
}
