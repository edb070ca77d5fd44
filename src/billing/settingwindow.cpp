#include "settingwindow.h"

#include "billingsql.h"
#include "billingtexts.h"
#include "fieldbinder.h"
#include "messageservice.h"
#include "recordnavigator.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace BillingTexts;

SettingWindow::SettingWindow(const QString &caption, const QString &label, const QString &table,
                             const QString &column, QWidget *parent)
    : DataWindow(parent)
    , m_table(m_connection)
    , m_binder(new FieldBinder(this))
{
    setUpWindow(caption, 380, 120);

    m_value = new QLineEdit(this);
    m_value->setObjectName(QStringLiteral("editValue"));
    m_value->setMaximumWidth(110);
    m_save = new RecordNavigator(RecordNavigator::Post, this);
    m_save->setObjectName(QStringLiteral("saveBar"));
    QPushButton *exit = addExitButton();

    auto *row = new QHBoxLayout;
    auto *caption1 = Kit::boldLabel(label, this);
    caption1->setBuddy(m_value);
    row->addWidget(caption1);
    row->addWidget(Kit::requiredStar(this));
    row->addWidget(m_value);
    row->addWidget(m_save);
    row->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 14);
    layout->addLayout(row);
    layout->addStretch(1);
    layout->addLayout(buttons);

    m_table.setTableName(table);
    m_binder->bind(m_value, column);
    closesWithWindow({&m_table});
    connect(m_save, &RecordNavigator::pressed, this, [this](RecordNavigator::Button which) {
        // A row the database refused stays in edit with what was typed.
        if (which == RecordNavigator::Post && m_table.state() == RecordSet::State::Browse)
            saved();
    });

    Kit::guarded(this, [this] {
        openConnection();
        m_table.open();
    });
    m_binder->setRecordSet(&m_table);
    m_save->setRecordSet(&m_table);
    m_save->setPostCheck([this] { return acceptable(m_value->text()); });
}

SettingWindow::~SettingWindow() = default;

void SettingWindow::saveClick()
{
    m_save->press(RecordNavigator::Post);
}

ReceiptNumberingWindow::ReceiptNumberingWindow(QWidget *parent)
    : SettingWindow(kNumberingCaption, kNumberingLabel, BillingSql::kNumberingTable,
                    QStringLiteral("LAST"), parent)
{
    setObjectName(QStringLiteral("ReceiptNumberingWindow"));
}

bool ReceiptNumberingWindow::acceptable(const QString &typed)
{
    bool whole = false;
    const qint64 number = typed.trimmed().toLongLong(&whole);
    if (whole && number > 0)
        return true;
    Messages::information(this, kStartingNumberRefused);
    return false;
}

VatRateWindow::VatRateWindow(QWidget *parent)
    : SettingWindow(kVatCaption, kVatLabel, BillingSql::kVatTable, QStringLiteral("VAT_RATIO"),
                    parent)
{
    setObjectName(QStringLiteral("VatRateWindow"));
}

void VatRateWindow::saved()
{
    Messages::information(this, kVatSaved);
    done(QDialog::Accepted);
    // The program ends here, without the exit confirmation: quit() would first ask every
    // window to close, and the main window answers that with "Έξοδος;", where No would keep the
    // program running with the old rate.
    QCoreApplication::exit(0);
}
