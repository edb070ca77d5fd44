#include "daysheetwindow.h"

#include "appointmenttexts.h"
#include "fieldbinder.h"
#include "recordnavigator.h"
#include "recordset.h"
#include "schema.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>

namespace {

constexpr int kWidth = 790;
constexpr int kHeight = 689;
constexpr int kRowsPerColumn = 14;
constexpr int kRowHeight = 40;
constexpr int kPanelWidth = 112;
constexpr int kEditWidth = 258;
constexpr int kColumnWidth = 378;
constexpr int kFieldHeight = 30;

// The light background of the slot captions: the colour of an inactive window caption.
const QColor kCaptionColour(215, 228, 242);

} // namespace

DaySheetWindow::DaySheetWindow(QWidget *parent)
    : DataWindow(parent)
    , m_query(std::make_unique<Query>(m_connection))
{
    setObjectName(QStringLiteral("TForm2a"));
    setUpWindow(AppointmentTexts::daySheetCaption(), kWidth, kHeight);

    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("Label83"));
    m_heading->setGeometry(8, 6, kWidth - 16, 40);
    m_heading->setAlignment(Qt::AlignCenter);
    QFont headingFont = m_heading->font();
    headingFont.setPointSize(20);
    headingFont.setBold(true);
    m_heading->setFont(headingFont);
    Kit::setColour(m_heading, QPalette::WindowText, Qt::blue);

    m_scrollBox = new QScrollArea(this);
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox->setGeometry(8, 52, kWidth - 16, kHeight - 52 - 56);
    m_scrollBox->setFocusPolicy(Qt::NoFocus);
    auto *slotsBox = new QWidget;
    slotsBox->setObjectName(QStringLiteral("slotsBox"));
    Kit::paintSkyBlue(slotsBox);
    slotsBox->setFixedSize(2 * kColumnWidth + 14, kRowsPerColumn * kRowHeight + 8);

    QFont slotFont = font();
    slotFont.setBold(true);
    slotFont.setPointSize(slotFont.pointSize() + 1);
    m_binder = new FieldBinder(this);
    const QStringList columns = Schema::slotColumns();
    for (int k = 1; k <= kSlots; ++k) {
        const int column = (k - 1) / kRowsPerColumn;
        const int row = (k - 1) % kRowsPerColumn;
        const int x = 6 + column * (kColumnWidth + 2);
        const int y = 6 + row * kRowHeight;

        auto *panel = new QLabel(Schema::slotCaption(columns.at(k - 1)), slotsBox);
        panel->setObjectName(QStringLiteral("Panel%1").arg(k));
        panel->setGeometry(x, y, kPanelWidth, kFieldHeight);
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setAutoFillBackground(true);
        Kit::setColour(panel, QPalette::Window, kCaptionColour);
        panel->setFocusPolicy(Qt::NoFocus);

        auto *edit = new QLineEdit(slotsBox);
        edit->setObjectName(QStringLiteral("DBEdit%1").arg(k));
        edit->setGeometry(x + kPanelWidth + 4, y, kEditWidth, kFieldHeight);
        edit->setFrame(false);
        edit->setFont(slotFont);
        QPalette pal = edit->palette();
        pal.setColor(QPalette::Text, Qt::red);
        pal.setColor(QPalette::Base, Qt::white);
        edit->setPalette(pal);
        panel->setBuddy(edit);
        m_binder->bind(edit, columns.at(k - 1));

        m_panels[size_t(k - 1)] = panel;
        m_edits[size_t(k - 1)] = edit;
    }
    for (int k = 1; k < kSlots; ++k)
        setTabOrder(m_edits[size_t(k - 1)], m_edits[size_t(k)]);
    m_scrollBox->setWidget(slotsBox);

    m_navigator = new RecordNavigator(RecordNavigator::Post, this);
    m_navigator->setObjectName(QStringLiteral("DBNavigator1"));
    m_navigator->setGeometry(8, kHeight - 44, 48, 34);

    m_exit = addExitButton(QStringLiteral("Button29"));
    m_exit->setGeometry(kWidth - 8 - 100, kHeight - 44, 100, 34);
    m_exit->setFocusPolicy(Qt::NoFocus);
    closesWithWindow({m_query.get()});

    m_binder->setRecordSet(m_query.get());
    m_navigator->setRecordSet(m_query.get());
    m_edits[0]->setFocus();
}

DaySheetWindow::~DaySheetWindow()
{
    // The binder and the record bar must not outlive the query they watch.
    m_binder->setRecordSet(nullptr);
    m_navigator->setRecordSet(nullptr);
}

QToolButton *DaySheetWindow::saveButton() const
{
    return m_navigator->button(RecordNavigator::Post);
}

void DaySheetWindow::setUp()
{
    m_heading->setText(DayDateText);
    openConnection();
    reopen(*m_query, DayQueryText);
    const bool hasRow = m_query->currentRow() >= 0;
    for (QLineEdit *edit : m_edits)
        edit->setReadOnly(!hasRow);
}

void DaySheetWindow::Button29Click()
{
    done(QDialog::Rejected);
}
