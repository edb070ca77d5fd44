#include "practicedetailswindow.h"

#include "billingsql.h"
#include "billingtexts.h"
#include "fieldbinder.h"
#include "recordnavigator.h"
#include "windowhooks.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace BillingTexts;

namespace {

struct FieldSpec {
    const char *column;
    const char *label; // empty: no label, the name a screen reader gives is `spokenName`
    int width;
    bool required;
};

constexpr int kWide = 425;
constexpr int kMedium = 265;
constexpr int kNarrow = 204;

const FieldSpec kFields[] = {
    {"TITLE", "Τίτλος:", kWide, true},
    {"ADDRESS1", "Διεύθυνση:", kMedium, false},
    {"ADDRESS2", "", kMedium, false},
    {"PHONE", "Τηλέφωνο:", kNarrow, false},
    {"FAX", "Fax:", kNarrow, false},
    {"WEBSITE", "Website:", kMedium, false},
    {"EMAIL", "Email:", kMedium, false},
    {"AFT", "Α.Φ.M:", kNarrow, false},
    {"AFPA", "ΑΡ. ΜΗΤΡ. Φ.Π.Α:", kNarrow, false},
    {"EXTRA1", "", kWide, false},
    {"EXTRA2", "", kWide, false},
    {"EXTRA3", "", kWide, false},
    {"EXTRA4", "", kWide, false},
    {"EXTRA5", "", kWide, false},
    {"EXTRA6", "", kWide, false},
    {"EXTRA7", "", kWide, false},
};

// The lines without a label of their own continue the address or add lines under the details.
QString spokenName(const char *column)
{
    const QLatin1String name(column);
    if (name == QLatin1String("ADDRESS2"))
        return QStringLiteral("Διεύθυνση, δεύτερη γραμμή");
    return QStringLiteral("Πρόσθετη γραμμή %1").arg(name.mid(5));
}

} // namespace

const QStringList &PracticeDetailsWindow::columns()
{
    static const QStringList names = [] {
        QStringList list;
        for (const FieldSpec &f : kFields)
            list << QLatin1String(f.column);
        return list;
    }();
    return names;
}

PracticeDetailsWindow::PracticeDetailsWindow(QWidget *parent)
    : DataWindow(parent)
    , m_table(m_connection)
    , m_binder(new FieldBinder(this))
{
    setObjectName(QStringLiteral("PracticeDetailsWindow"));
    setUpWindow(kDetailsCaption, 620, 540);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(5);
    int row = 0;
    QWidget *previous = nullptr;
    for (const FieldSpec &f : kFields) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("edit") + QLatin1String(f.column));
        edit->setFixedWidth(f.width);
        m_binder->bind(edit, QLatin1String(f.column));
        m_fields << edit;
        const QString label = QString::fromUtf8(f.label);
        if (label.isEmpty())
            edit->setAccessibleName(spokenName(f.column));
        if (!label.isEmpty()) {
            auto *caption = Kit::boldLabel(label, this);
            caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            caption->setBuddy(edit);
            grid->addWidget(caption, row, 0);
        }
        auto *line = new QHBoxLayout;
        line->setSpacing(4);
        line->addWidget(edit);
        if (f.required)
            line->addWidget(Kit::requiredStar(this));
        line->addStretch(1);
        grid->addLayout(line, row, 1);
        if (previous)
            QWidget::setTabOrder(previous, edit);
        previous = edit;
        ++row;
    }
    grid->setColumnStretch(1, 1);

    m_save = new RecordNavigator(RecordNavigator::Post, this);
    m_save->setObjectName(QStringLiteral("saveBar"));
    m_preview = new QPushButton(kPreview, this);
    m_preview->setObjectName(QStringLiteral("buttonPreview"));
    QPushButton *exit = addExitButton();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addStretch(1);
    buttons->addWidget(m_preview);
    buttons->addWidget(exit);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    m_table.setTableName(BillingSql::kInformationTable);
    closesWithWindow({&m_table});
    connect(m_preview, &QPushButton::clicked, this, &PracticeDetailsWindow::previewClick);

    Kit::guarded(this, [this] {
        openConnection();
        m_table.open();
    });
    m_binder->setRecordSet(&m_table);
    m_save->setRecordSet(&m_table);
}

PracticeDetailsWindow::~PracticeDetailsWindow() = default;

QLineEdit *PracticeDetailsWindow::field(const QString &column) const
{
    const int i = columns().indexOf(column);
    return i < 0 ? nullptr : m_fields.at(i);
}

void PracticeDetailsWindow::previewClick()
{
    // Reading the table again drops an edit that was not saved.
    Kit::guarded(this, [this] {
        m_table.close();
        openConnection();
        m_table.open();
    });
    m_binder->refresh();
    Kit::guarded(this, [this] {
        if (WindowHooks::printReceipt)
            WindowHooks::printReceipt(this, QStringLiteral("0"));
    });
}
