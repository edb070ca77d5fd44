#include "issuedreceiptswindow.h"

#include "billingsql.h"
#include "billingtexts.h"
#include "dberror.h"
#include "ebooksservice.h"
#include "ebookssettings.h"
#include "messageservice.h"
#include "recordgrid.h"
#include "recordnavigator.h"
#include "schema.h"
#include "sendqueue.h"
#include "windowhooks.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace BillingTexts;

namespace {
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
} // namespace

IssuedReceiptsWindow::IssuedReceiptsWindow(QWidget *parent)
    : DataWindow(parent)
    , m_query(m_connection)
{
    setObjectName(QStringLiteral("IssuedReceiptsWindow"));
    setUpWindow(kRegisterCaption, 1060, 560);

    // The e-books columns are there while the e-books are on. Settings that cannot be read
    // leave them off; the window's own reading shows the database's error.
    try {
        openConnection();
        m_ebooks = MyData::EbooksSettings::read(m_connection).enabled;
    } catch (const DbError &) {
        m_ebooks = false;
    }
    QList<GridColumn> columns
        = {{QStringLiteral("AR_APODEIKSHS"), kColNumber, 120, Qt::AlignCenter},
                          {QStringLiteral("HMEROMHNIA"), kColDate, 162, Qt::AlignCenter},
                          {QStringLiteral("ONOMA"), kColFirstName, 92, kLeft},
                          {QStringLiteral("EPWNYMO"), kColSurname, 112, kLeft},
                          {QStringLiteral("PERIGRAFH"), kColDescription, 135, kLeft},
                          {QStringLiteral("POSO"), kColAmount, 78, kRight},
                          {QStringLiteral("VAT"), kColVat, 80, kRight},
                          {QStringLiteral("SYNOLIKO_POSO"), kColTotal, 126, kRight},
                          {QStringLiteral("TAMEIO"), kColFund, 58, Qt::AlignCenter},
                          {QStringLiteral("EGKYRH"), kColValid, 58, Qt::AlignCenter}};
    if (m_ebooks) {
        // Beside the number and the date, so that a receipt's state at the e-books is seen
        // without scrolling in a window of the register's width.
        columns.insert(2, GridColumn{QStringLiteral("MYDATA_KATASTASH"), kColEbooks, 130, kLeft});
        columns.insert(3, GridColumn{QStringLiteral("MYDATA_MARK"), kColMark, 130,
                                     Qt::AlignCenter});
    }
    m_grid = new RecordGrid(this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setRecordSet(&m_query, columns);
    m_grid->installEventFilter(this);
    m_count = Kit::countLabel(this, QStringLiteral("countLine"));
    m_navigator = new RecordNavigator(RecordNavigator::Moves, this);
    m_navigator->setObjectName(QStringLiteral("navigator"));
    m_navigator->setRecordSet(&m_query);

    auto *sortBox = new QGroupBox(kSortGroup, this);
    sortBox->setObjectName(QStringLiteral("sortGroup"));
    auto *sortLayout = new QHBoxLayout(sortBox);
    auto *group = new QButtonGroup(this);
    const QString names[3] = {kSortDate, kSortNumber, kSortValid};
    for (int i = 0; i < 3; ++i) {
        m_sort[i] = new QRadioButton(names[i], sortBox);
        m_sort[i]->setObjectName(QStringLiteral("sort%1").arg(i));
        group->addButton(m_sort[i], i);
        sortLayout->addWidget(m_sort[i]);
    }
    m_sort[0]->setChecked(true);

    m_print = new QPushButton(kPrintReceipt, this);
    m_print->setObjectName(QStringLiteral("buttonPrint"));
    m_print->setEnabled(false);
    m_cancel = new QPushButton(kCancelReceipt, this);
    m_cancel->setObjectName(QStringLiteral("buttonCancel"));
    m_cancel->setEnabled(false);
    QPushButton *exit = addExitButton();

    auto *under = new QHBoxLayout;
    under->addWidget(m_count);
    if (m_ebooks) {
        m_waiting = Kit::countLabel(this, QStringLiteral("waitingLine"));
        under->addSpacing(30);
        under->addWidget(m_waiting);
        if (MyData::EbooksService *service = MyData::EbooksService::instance())
            connect(service, &MyData::EbooksService::changed, this,
                    &IssuedReceiptsWindow::showWaiting);
    }
    under->addStretch(1);
    under->addWidget(m_navigator);
    auto *actions = new QHBoxLayout;
    actions->addWidget(sortBox);
    actions->addStretch(1);
    actions->addWidget(m_print);
    actions->addWidget(m_cancel);
    actions->addSpacing(20);
    actions->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(m_grid, 1);
    layout->addLayout(under);
    layout->addLayout(actions);

    closesWithWindow({&m_query});
    connect(m_grid, &QAbstractItemView::clicked, this, &IssuedReceiptsWindow::buttonRule);
    connect(m_navigator, &RecordNavigator::pressed, this, &IssuedReceiptsWindow::buttonRule);
    connect(group, &QButtonGroup::idClicked, this, &IssuedReceiptsWindow::sortChanged);
    connect(m_print, &QPushButton::clicked, this, &IssuedReceiptsWindow::printClick);
    connect(m_cancel, &QPushButton::clicked, this, &IssuedReceiptsWindow::cancelClick);
}

IssuedReceiptsWindow::~IssuedReceiptsWindow() = default;

bool IssuedReceiptsWindow::eventFilter(QObject *watched, QEvent *event)
{
    // A key released in the grid (moving with the arrows) runs the button rule.
    if (watched == m_grid && event->type() == QEvent::KeyRelease)
        buttonRule();
    return DataWindow::eventFilter(watched, event);
}

void IssuedReceiptsWindow::FormShow()
{
    Kit::guarded(this, [this] {
        openConnection();
        reopen(m_query, registerSql());
        m_query.sort(BillingSql::kSortByDate);
    });
    m_sort[0]->setChecked(true);
    m_count->setText(Kit::countText(m_query.rowCount(), kReceipts));
    showWaiting();
    if (m_query.rowCount() > 0) {
        m_print->setEnabled(true);
        m_cancel->setEnabled(true);
    }
    buttonRule();
}

QString IssuedReceiptsWindow::registerSql() const
{
    return m_ebooks ? BillingSql::registerWithEbooks() : BillingSql::kRegister;
}

void IssuedReceiptsWindow::showWaiting()
{
    if (!m_waiting || !m_connection.isOpen())
        return;
    Kit::guarded(this, [this] {
        m_waiting->setText(ebooksWaitingCount(MyData::SendQueue(m_connection).waitingCount()));
    });
}

void IssuedReceiptsWindow::buttonRule()
{
    // With no rows the buttons stay as they are: disabled since the window opened.
    if (!m_query.isOpen() || m_query.rowCount() == 0 || m_query.currentRow() < 0)
        return;
    const bool valid
        = m_query.fieldText(QStringLiteral("EGKYRH")).trimmed() != QLatin1String("False");
    m_print->setEnabled(valid);
    m_cancel->setEnabled(valid);
}

void IssuedReceiptsWindow::sortChanged()
{
    const QString keys[3]
        = {BillingSql::kSortByDate, BillingSql::kSortByNumber, BillingSql::kSortByValid};
    for (int i = 0; i < 3; ++i) {
        if (m_sort[i]->isChecked() && m_query.isOpen())
            Kit::guarded(this, [&] { m_query.sort(keys[i]); });
    }
    buttonRule();
}

qint64 IssuedReceiptsWindow::currentNumber() const
{
    return m_query.fieldText(QStringLiteral("AR_APODEIKSHS")).trimmed().toLongLong();
}

void IssuedReceiptsWindow::printClick()
{
    if (!m_print->isEnabled() || m_query.currentRow() < 0)
        return;
    const qint64 n = currentNumber();
    Kit::guarded(this, [&] {
        if (WindowHooks::printReceipt)
            WindowHooks::printReceipt(this, QString::number(n));
    });
}

void IssuedReceiptsWindow::cancelClick()
{
    if (!m_cancel->isEnabled() || m_query.currentRow() < 0)
        return;
    const qint64 n = currentNumber();
    if (!Messages::askYesNo(this, cancelQuestion(n)))
        return;
    bool cancelled = false;
    Kit::guarded(this, [&] {
        // The payment goes and the receipt is marked invalid together, or neither happens; a
        // receipt the e-books know is marked to be cancelled there in the same step.
        Transaction transaction(m_connection);
        m_connection.execute(BillingSql::deletePayment(n));
        m_connection.execute(BillingSql::invalidateReceipt(n));
        if (Schema::hasTable(m_connection, QLatin1String(Schema::kEbooksTable)))
            MyData::SendQueue(m_connection).requestCancel(n);
        transaction.commit();
        cancelled = true;
    });
    // The cancellation goes to the e-books now; when they cannot be reached it waits, and the
    // retries send it.
    MyData::EbooksService *service = MyData::EbooksService::instance();
    if (cancelled && m_ebooks && service && service->enabled())
        service->sendWaiting(false, [](const MyData::DrainResult &) {});
    // Read again in the query's own order, the first row current; the count stays as it was.
    Kit::guarded(this, [this] {
        m_query.close();
        openConnection();
        reopen(m_query, registerSql());
    });
    showWaiting();
    // The rows are in date order again, and the sort choice says so.
    m_sort[0]->setChecked(true);
    buttonRule();
}
