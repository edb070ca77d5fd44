#include "visitswindow.h"

#include "fieldbinder.h"
#include "patientsql.h"
#include "recordgrid.h"
#include "recordnavigator.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kCaption = QStringLiteral("Επισκέψεις");
const QString kFirstName = QStringLiteral("Όνομα:");
const QString kSurname = QStringLiteral("Επώνυμο:");
const QString kDate = QStringLiteral("Ημερομηνία:");
const QString kDateHint = QStringLiteral("* (π.χ 28/12/2007)");
const QString kReason = QStringLiteral("Αιτία:");
const QString kDescription = QStringLiteral("Περιγραφή:");
const QString kVisits = QStringLiteral(" επισκέψεις");
// The entry form only adds rows, so its cursor on EPISKEPSEIS reads none of the stored ones.
const QString kEntry
    = QStringLiteral("SELECT ID,HMEROMHNIA,AITIA,PERIGRAFH FROM EPISKEPSEIS WHERE 1=0");

} // namespace

VisitsWindow::VisitsWindow(QWidget *parent)
    : PatientWindow(parent)
    , m_entry(m_connection)
    , m_list(m_connection)
    , m_binder(new FieldBinder(this))
{
    setObjectName(QStringLiteral("TFORM17A"));
    // A visit typed in is one the person would type again if told it was not saved.
    m_entry.setRegistersInserts(true);
    setUpWindow(kCaption, 620, 560);

    Kit::boldLabel(kFirstName, this)->setGeometry(16, 10, 70, 20);
    m_firstName = Kit::boldLabel(QString(), this, true);
    m_firstName->setObjectName(QStringLiteral("valueFirstName"));
    m_firstName->setGeometry(90, 10, 200, 20);
    Kit::boldLabel(kSurname, this)->setGeometry(300, 10, 70, 20);
    m_surname = Kit::boldLabel(QString(), this, true);
    m_surname->setObjectName(QStringLiteral("valueSurname"));
    m_surname->setGeometry(374, 10, 230, 20);

    auto addField = [this](const QString &caption, int y, int width, const QString &name) {
        auto *label = Kit::boldLabel(caption, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(8, y, 90, 22);
        auto *edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setGeometry(104, y, width, 22);
        label->setBuddy(edit);
        return edit;
    };
    m_date = addField(kDate, 42, 90, QStringLiteral("editDate"));
    Kit::boldLabel(kDateHint, this, true)->setGeometry(200, 42, 200, 22);
    m_reason = addField(kReason, 70, 480, QStringLiteral("editReason"));
    Kit::requiredStar(this)->setGeometry(590, 70, 12, 22);
    m_description = addField(kDescription, 98, 480, QStringLiteral("editDescription"));
    Kit::requiredStar(this)->setGeometry(590, 98, 12, 22);
    QWidget::setTabOrder(m_date, m_reason);
    QWidget::setTabOrder(m_reason, m_description);
    m_binder->bind(m_date, QStringLiteral("HMEROMHNIA"));
    m_binder->bind(m_reason, QStringLiteral("AITIA"));
    m_binder->bind(m_description, QStringLiteral("PERIGRAFH"));

    m_entryBar = new RecordNavigator(RecordNavigator::Post, this);
    m_entryBar->setObjectName(QStringLiteral("entryBar"));
    m_entryBar->setGeometry(104, 128, 30, 25);
    connect(m_entryBar, &RecordNavigator::pressed, this, &VisitsWindow::entryPressed);

    m_grid = new RecordGrid(this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setGeometry(8, 164, 604, 300);
    // The grid only shows; visits are deleted with the record bar below it.
    m_grid->setRecordSet(
        &m_list,
        {{QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερομηνία"), 102, Qt::AlignCenter},
         {QStringLiteral("AITIA"), QStringLiteral("Αιτία"), 239, Qt::AlignLeft | Qt::AlignVCenter},
         {QStringLiteral("PERIGRAFH"), QStringLiteral("Περιγραφή"), 238,
          Qt::AlignLeft | Qt::AlignVCenter}});

    m_count = Kit::countLabel(this, QStringLiteral("countLine"));
    m_count->setGeometry(8, 470, 300, 20);
    m_listBar = new RecordNavigator(RecordNavigator::Moves | RecordNavigator::Delete, this);
    m_listBar->setObjectName(QStringLiteral("listBar"));
    m_listBar->setGeometry(8, 494, 200, 25);
    m_listBar->setRecordSet(&m_list);
    connect(m_listBar, &RecordNavigator::pressed, this, &VisitsWindow::updateCount);

    m_exit = addExitButton(QStringLiteral("buttonExit"));
    m_exit->setGeometry(width() - 104, height() - 38, 88, 28);

    FormCreate();
}

VisitsWindow::~VisitsWindow() = default;

void VisitsWindow::FormCreate()
{
    Kit::guarded(this, [this] {
        openConnection();
        m_entry.setSql(kEntry);
        m_entry.open();
        m_binder->setRecordSet(&m_entry);
        m_entryBar->setRecordSet(&m_entry);
    });
}

qlonglong VisitsWindow::patientNumber() const
{
    return PatientId.trimmed().toLongLong();
}

void VisitsWindow::FormShow()
{
    m_firstName->setText(PatientFirstName);
    m_surname->setText(PatientSurname);
    startNewVisit();
    openList();
    updateCount();
    m_date->setFocus();
}

void VisitsWindow::startNewVisit()
{
    if (!m_entry.isOpen())
        return;
    Kit::guarded(this, [this] {
        // Shown again with a visit still in the form: keep it rather than write it.
        if (m_entry.state() != RecordSet::State::Insert)
            m_entry.insert();
        // Every visit written through the form carries the patient's ID.
        m_entry.setFieldValue(QStringLiteral("ID"), patientNumber());
    });
}

void VisitsWindow::openList()
{
    Kit::guarded(this, [this] { reopen(m_list, PatientSql::visits(PatientId)); });
}

void VisitsWindow::entryPressed()
{
    // A row the database refused stays in the form, unsaved, and the list is not read again.
    if (m_entry.state() != RecordSet::State::Browse)
        return;
    openList();
    updateCount();
    startNewVisit();
    m_date->setFocus();
}

void VisitsWindow::updateCount()
{
    m_count->setText(Kit::countText(m_list.rowCount(), kVisits));
}

void VisitsWindow::done(int result)
{
    // The pending new visit, typed or not, is dropped: opening and closing writes nothing. One
    // whose registration is unsettled is looked up first.
    Kit::settleBeforeClosing(this, m_entry);
    m_entry.close();
    m_list.close();
    m_connection.close();
    PatientWindow::done(result);
}
