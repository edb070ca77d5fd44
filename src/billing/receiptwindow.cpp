#include "receiptwindow.h"

#include "billingtexts.h"
#include "dberror.h"
#include "ebooksservice.h"
#include "messageservice.h"
#include "registration.h"
#include "sqltext.h"
#include "windowhooks.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

using namespace BillingTexts;

ReceiptWindow::ReceiptWindow(QWidget *parent)
    : DataWindow(parent)
    , m_issue(m_connection)
    , m_token(Registration::newToken())
{
    setObjectName(QStringLiteral("ReceiptWindow"));
    setUpWindow(kReceiptCaption, 430, 250);

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setHorizontalSpacing(10);
    m_firstName = Kit::boldLabel(QString(), this, true);
    m_firstName->setObjectName(QStringLiteral("valueFirstName"));
    m_surname = Kit::boldLabel(QString(), this, true);
    m_surname->setObjectName(QStringLiteral("valueSurname"));
    m_number = Kit::boldLabel(QString(), this, true);
    m_number->setObjectName(QStringLiteral("valueNumber"));
    form->addRow(Kit::boldLabel(kFirstName, this), m_firstName);
    form->addRow(Kit::boldLabel(kSurname, this), m_surname);
    form->addRow(Kit::boldLabel(kReceiptNumber, this), m_number);

    auto withMark = [this](QLineEdit *edit, QLabel *mark) {
        auto *row = new QHBoxLayout;
        row->addWidget(edit, 1);
        if (mark)
            row->addWidget(mark);
        return row;
    };
    m_amount = new QLineEdit(this);
    m_amount->setObjectName(QStringLiteral("editAmount"));
    m_amount->setMaximumWidth(120);
    auto *euroMark = Kit::boldLabel(kAmountMark, this, true);
    auto *amountRow = withMark(m_amount, euroMark);
    amountRow->addStretch(1);
    form->addRow(Kit::labelFor(kAmount, m_amount), amountRow);
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("editDescription"));
    m_description->setMaxLength(255);
    form->addRow(Kit::labelFor(kDescription, m_description),
                 withMark(m_description, Kit::requiredStar(this)));
    m_fund = new QLineEdit(this);
    m_fund->setObjectName(QStringLiteral("editFund"));
    m_fund->setMaxLength(50);
    // The fund has no mark; a blank of the mark's width keeps the fields in line.
    auto *spacer = new QLabel(QStringLiteral("  "), this);
    form->addRow(Kit::labelFor(kFund, m_fund), withMark(m_fund, spacer));

    m_register = new QPushButton(kRegister, this);
    m_register->setObjectName(QStringLiteral("buttonRegister"));
    m_register->setEnabled(false);
    setDefaultButton(m_register);
    QPushButton *exit = addExitButton();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_register);
    buttons->addWidget(exit);

    // Why the receipt just issued did not reach the e-books: one line, read at a glance.
    m_ebooksLine = new QLabel(this);
    m_ebooksLine->setObjectName(QStringLiteral("labelEbooksState"));
    m_ebooksLine->setStyleSheet(QStringLiteral("color: #a01010;"));
    m_ebooksLine->setWordWrap(true);
    m_ebooksLine->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(m_ebooksLine);
    layout->addLayout(buttons);

    QWidget::setTabOrder(m_amount, m_description);
    QWidget::setTabOrder(m_description, m_fund);
    QWidget::setTabOrder(m_fund, m_register);
    QWidget::setTabOrder(m_register, exit);

    for (QLineEdit *edit : {m_amount, m_description, m_fund})
        connect(edit, &QLineEdit::textChanged, this, &ReceiptWindow::updateButton);
    connect(m_register, &QPushButton::clicked, this, &ReceiptWindow::registerClick);

    FormCreate();
}

ReceiptWindow::~ReceiptWindow() = default;

void ReceiptWindow::FormCreate()
{
    Kit::guarded(this, [this] {
        openConnection();
        m_issue.read();
    });
    m_number->setText(m_issue.numberText().trimmed());
}

void ReceiptWindow::FormShow()
{
    m_firstName->setText(PatientFirstName);
    m_surname->setText(PatientSurname);
    m_amount->setFocus();
}

bool ReceiptWindow::settleFirst(bool change)
{
    if (!m_issue.unsettled() || m_finishing)
        return false;
    if (change && m_lastLookUp.isValid() && m_lastLookUp.elapsed() < 3000)
        return false;
    m_lastLookUp.start();
    ReceiptIssue::Result result;
    try {
        result = m_issue.settle();
    } catch (const DbError &e) {
        result.error = e.message();
    }
    if (result.outcome != ReceiptIssue::Outcome::Issued)
        return false;
    Messages::information(this, foundRegistered(result.number));
    issued(result);
    return true;
}

void ReceiptWindow::done(int result)
{
    if (m_issue.unsettled() && !m_finishing) {
        if (settleFirst())
            return; // printed and closed as an issued receipt
        if (m_issue.unsettled())
            Messages::information(this, kClosedOutcomeUnknown);
    }
    DataWindow::done(result);
}

void ReceiptWindow::updateButton()
{
    if (settleFirst(true))
        return;
    const QString amount = m_amount->text().trimmed();
    const QString description = m_description->text().trimmed();
    const QString fund = m_fund->text().trimmed();
    m_register->setEnabled(!amount.isEmpty() && !description.isEmpty()
                           && SqlText::IsSafeText(description) && SqlText::IsSafeText(fund));
}

void ReceiptWindow::clearFields()
{
    m_amount->clear();
    m_description->clear();
    m_fund->clear();
}

void ReceiptWindow::registerClick()
{
    if (!m_register->isEnabled())
        return;
    ReceiptIssue::Input input;
    input.patientId = PatientId;
    input.firstName = m_firstName->text();
    input.surname = m_surname->text();
    input.amountText = m_amount->text().trimmed();
    input.description = m_description->text().trimmed();
    input.fund = m_fund->text().trimmed();
    input.token = m_token;

    ReceiptIssue::Result result;
    try {
        // A connection closed by an earlier failure is set up again.
        if (!m_connection.isOpen())
            openConnection();
        result = m_issue.issue(input);
    } catch (const DbError &e) {
        result.error = e.message();
    }
    switch (result.outcome) {
    case ReceiptIssue::Outcome::NotPositive:
        Messages::information(this, kNotAccepted);
        clearFields();
        return;
    case ReceiptIssue::Outcome::NumberTaken:
        // What was typed stays: pressing again issues it under the number now shown.
        m_number->setText(QString::number(result.next));
        Messages::information(this, numberTakenMeanwhile(result.number, result.next));
        return;
    case ReceiptIssue::Outcome::Failed:
        if (!result.error.isEmpty()) {
            // The database refused the write (a full disk, a lock, a file that may not be
            // written): nothing was written, and what was typed stays for the next try.
            Messages::error(this, notRegisteredBecause(result.error));
            return;
        }
        // The amount is not a number, or the numbering or the VAT rate is missing.
        Messages::information(this, kNotRegistered);
        clearFields();
        return;
    case ReceiptIssue::Outcome::NotTransmittable:
        // Nothing was written; what was typed stays to be mended.
        Messages::information(this, notTransmittable(result.problems));
        return;
    case ReceiptIssue::Outcome::Unknown:
        // What was typed stays; the next press looks the receipt up before it issues.
        Messages::error(this, kOutcomeUnknown);
        return;
    case ReceiptIssue::Outcome::Issued:
        break;
    }
    issued(result);
}

void ReceiptWindow::issued(const ReceiptIssue::Result &result)
{
    m_finishing = true;
    m_token = Registration::newToken();
    closeData();
    MyData::EbooksService *ebooks = MyData::EbooksService::instance();
    if (result.queued && ebooks) {
        sendThenPrint(*ebooks, result.number);
        return;
    }
    finishIssue(result.number, {}, {});
}

void ReceiptWindow::sendThenPrint(MyData::EbooksService &ebooks, qint64 number)
{
    // The receipt is sent before it is printed, so that it carries its MARK and QR code; the
    // person may leave the wait, and the receipt prints as waiting to be sent while the sending
    // goes on.
    auto *progress = new QProgressDialog(kEbooksSending, kEbooksLeave, 0, 0, this);
    progress->setObjectName(QStringLiteral("ebooksProgress"));
    progress->setWindowTitle(kReceiptCaption);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    m_sending = progress;
    QPointer<ReceiptWindow> self(this);
    auto finish = [self, progress, number](const QString &refusal, const QString &notSent) {
        if (!self || self->m_sending != progress)
            return; // already left, or finished
        self->m_sending = nullptr;
        progress->hide();
        progress->deleteLater();
        self->finishIssue(number, refusal, notSent);
    };
    connect(progress, &QProgressDialog::canceled, this, [finish] { finish({}, {}); });
    ebooks.sendReceipt(number, [finish](const MyData::Turn &turn) {
        const bool waits = turn.outcome != MyData::Outcome::Sent
            && turn.outcome != MyData::Outcome::Rejected;
        finish(turn.outcome == MyData::Outcome::Rejected ? turn.message : QString(),
               waits ? (turn.message.isEmpty() ? kEbooksNotSentYet : turn.message) : QString());
    });
    if (m_sending == progress)
        progress->open();
}

void ReceiptWindow::finishIssue(qint64 number, const QString &refusal, const QString &notSent)
{
    if (!refusal.isEmpty())
        Messages::information(this, ebooksRejected(number, refusal));
    // The receipt is registered: a printing failure must not invite issuing it again.
    try {
        if (!WindowHooks::printReceipt)
            throw DbError(QStringLiteral("Receipt printing is not available."));
        WindowHooks::printReceipt(this, QString::number(number));
    } catch (const DbError &e) {
        Messages::information(this, registeredNotPrintedBecause(number, e.message()));
    }
    if (!notSent.isEmpty()) {
        // The window stays, with the cause on one line, until the person closes it; nothing
        // more can be issued from it.
        clearFields();
        const QString cause = notSent.section(QLatin1Char('\n'), 0, 0);
        m_ebooksLine->setText(ebooksNotSentLine(number, cause));
        m_ebooksLine->setToolTip(notSent);
        m_ebooksLine->show();
        for (QWidget *w : std::initializer_list<QWidget *>{m_amount, m_description, m_fund})
            w->setEnabled(false);
        m_register->setEnabled(false);
        setResult(QDialog::Accepted);
        return;
    }
    done(QDialog::Accepted);
    clearFields();
}
