#include "patientlistwindow.h"

#include "healthrecordwindow.h"
#include "patientappointmentswindow.h"
#include "patientdatawindow.h"
#include "patientexport.h"
#include "program.h"
#include "recordgrid.h"
#include "recordnavigator.h"
#include "visitswindow.h"

#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kCaption = QStringLiteral("Βασικά στοιχεία των ασθενών");
const QString kMenu = QStringLiteral("Επιλογές");
const QString kSortBy = QStringLiteral("Ταξινόμηση με βάση");
const QString kSortKind = QStringLiteral("Είδος ταξινόμησης");
const QString kAscending = QStringLiteral("Ascending");
const QString kDescending = QStringLiteral("Descending");
const QString kExit = QStringLiteral("Έ&ξοδος");
const QString kPatients = QStringLiteral(" ασθενείς");
const QString kAsc = QStringLiteral(" ASC");
const QString kDesc = QStringLiteral(" DESC");

struct SortOption {
    const char *label;
    const char *column;
};

const SortOption kSortOptions[] = {
    {"Επώνυμο", "EPWNYMO"}, {"Ημερομηνία γεννήσεως", "HMEROMHNIA_GENNHSEWS"},
    {"Φύλο", "FYLO"},       {"Επάγγελμα", "EPAGGELMA"},
    {"Ταμείο", "TAMEIO"},
};

QList<GridColumn> gridColumns()
{
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignCenter;
    return {
        {QStringLiteral("ONOMA"), QStringLiteral("Όνομα"), 120, left},
        {QStringLiteral("EPWNYMO"), QStringLiteral("Επώνυμο"), 120, left},
        {QStringLiteral("FYLO"), QStringLiteral("Φύλο"), 43, centre},
        {QStringLiteral("HMEROMHNIA_GENNHSEWS"), QStringLiteral("Ημερ.Γενν."), 75, centre},
        {QStringLiteral("DIEYTHYNSH"), QStringLiteral("Διεύθυνση"), 180, left},
        {QStringLiteral("THLEFWNO_1"), QStringLiteral("Τηλέφωνο 1"), 85, left},
        {QStringLiteral("THLEFWNO_2"), QStringLiteral("Τηλέφωνο 2"), 85, left},
        {QStringLiteral("EPAGGELMA"), QStringLiteral("Επάγγελμα"), 157, left},
        {QStringLiteral("TAMEIO"), QStringLiteral("Ταμείο"), 74, centre},
    };
}

} // namespace

PatientListWindow::PatientListWindow(QWidget *parent)
    : PatientWindow(parent)
    , m_list(m_connection)
{
    setObjectName(QStringLiteral("TForm18"));
    setUpWindow(kCaption, 1016, 716);

    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    m_menuBar->setGeometry(0, 0, width(), 22);
    m_menu = m_menuBar->addMenu(kMenu);
    m_menu->setObjectName(QStringLiteral("menuOptions"));

    m_grid = new RecordGrid(this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setGeometry(8, 30, 1000, 500);
    m_grid->setRecordSet(&m_list, gridColumns());

    m_count = Kit::countLabel(this, QStringLiteral("countLine"));
    m_count->setGeometry(8, 538, 300, 20);

    m_bar = new RecordNavigator(RecordNavigator::Moves | RecordNavigator::Delete, this);
    m_bar->setObjectName(QStringLiteral("recordBar"));
    m_bar->setGeometry(404, 536, 200, 25);
    m_bar->setRecordSet(&m_list);

    m_sortBy = new QGroupBox(kSortBy, this);
    m_sortBy->setObjectName(QStringLiteral("groupSortBy"));
    m_sortBy->setGeometry(8, 570, 200, 138);
    m_sortColumns = new QButtonGroup(this);
    int y = 20;
    for (const SortOption &option : kSortOptions) {
        auto *radio = new QRadioButton(QString::fromUtf8(option.label), m_sortBy);
        const QString column = QLatin1String(option.column);
        radio->setObjectName(QStringLiteral("sort") + column);
        radio->setGeometry(10, y, 180, 20);
        m_sortColumns->addButton(radio);
        connect(radio, &QRadioButton::clicked, this, [this, column] {
            SortColumn = column;
            applySort();
        });
        y += 22;
    }

    m_sortKind = new QGroupBox(kSortKind, this);
    m_sortKind->setObjectName(QStringLiteral("groupSortKind"));
    m_sortKind->setGeometry(216, 570, 150, 70);
    m_ascending = new QRadioButton(kAscending, m_sortKind);
    m_ascending->setObjectName(QStringLiteral("sortAscending"));
    m_ascending->setGeometry(10, 20, 130, 20);
    m_descending = new QRadioButton(kDescending, m_sortKind);
    m_descending->setObjectName(QStringLiteral("sortDescending"));
    m_descending->setGeometry(10, 42, 130, 20);
    connect(m_ascending, &QRadioButton::clicked, this, [this] {
        SortDirection = kAsc;
        applySort();
    });
    connect(m_descending, &QRadioButton::clicked, this, [this] {
        SortDirection = kDesc;
        applySort();
    });

    m_actions = new QGroupBox(this);
    m_actions->setObjectName(QStringLiteral("groupActions"));
    m_actions->setGeometry(520, 570, 400, 142);

    m_data = makeAction(QStringLiteral("PatientData"), QStringLiteral("Στοιχεία του &ασθενούς"),
                        QStringLiteral("Στοιχεία του &ασθενούς"),
                        &PatientListWindow::patientDataClick);
    m_health = makeAction(QStringLiteral("HealthRecord"), QStringLiteral("Δελτίο &υγείας"),
                          QStringLiteral("Δελτίο &υγείας"), &PatientListWindow::healthRecordClick);
    m_visits = makeAction(QStringLiteral("Visits"), QStringLiteral("Επισκέψεις"),
                          QStringLiteral("Επισκέ&ψεις"), &PatientListWindow::visitsClick);
    m_appointments = makeAction(QStringLiteral("Appointments"), QStringLiteral("Ραντεβού"),
                                QStringLiteral("Ραντε&βού"), &PatientListWindow::appointmentsClick);
    m_menu->addSeparator();
    m_printouts = makeAction(QStringLiteral("Printouts"), QStringLiteral("Ε&κτυπώσεις"),
                             QStringLiteral("Ε&κτυπώσεις"), &PatientListWindow::printoutsClick);
    m_menu->addSeparator();
    m_receipt = makeAction(QStringLiteral("Receipt"), QStringLiteral("Έκδοση απόδει&ξης"),
                           QStringLiteral("Έκδοση απόδειξ&ης"), &PatientListWindow::receiptClick);
    m_payments
        = makeAction(QStringLiteral("Payments"), QStringLiteral("Εισπράξεις από το&ν ασθενή"),
                     QStringLiteral("Εισπράξεις από το&ν ασθενή"),
                     &PatientListWindow::paymentsClick);
    m_menu->addSeparator();
    m_export = makeAction(QStringLiteral("Export"), QStringLiteral("Εξαγωγή στοιχείων ασθενούς…"),
                          QStringLiteral("Εξαγωγή στοιχείων ασθενούς…"),
                          &PatientListWindow::exportClick);
    m_menu->addSeparator();

    // Two columns of three: details, health record, visits on the left; the export under both.
    const Action order[] = {m_data, m_health, m_visits, m_printouts, m_receipt, m_payments};
    for (int i = 0; i < 6; ++i)
        order[i].button->setGeometry(i < 3 ? 10 : 204, 10 + (i % 3) * 32, 186, 28);
    m_export.button->setGeometry(10, 106, 186, 28);
    m_appointments.button->setGeometry(204, 106, 186, 28);

    m_choose = new QPushButton(QStringLiteral("Επι&λογή"), this);
    m_choose->setObjectName(QStringLiteral("buttonChoose"));
    m_choose->setGeometry(width() - 96 - 196, height() - 36, 188, 28);
    m_choose->setVisible(false);
    connect(m_choose, &QPushButton::clicked, this, &PatientListWindow::chooseClick);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this] {
        if (m_choosing)
            chooseClick();
    });

    m_exit = addExitButton(QStringLiteral("buttonExit"));
    m_exit->setGeometry(width() - 96, height() - 36, 88, 28);
    QAction *exitItem = m_menu->addAction(kExit);
    exitItem->setObjectName(QStringLiteral("itemExit"));
    connect(exitItem, &QAction::triggered, this, [this] { done(QDialog::Rejected); });

    connect(m_bar, &RecordNavigator::pressed, this, [this] { updateCount(); });
    connect(m_grid, &RecordGrid::deleteRequested, this, &PatientListWindow::deleteClick);

    m_receipt.button->setEnabled(false);
    m_receipt.item->setEnabled(false);
    enableHookedActions();
    updateCount();
}

PatientListWindow::~PatientListWindow() = default;

PatientListWindow::Action PatientListWindow::makeAction(const QString &name,
                                                        const QString &buttonText,
                                                        const QString &menuText,
                                                        void (PatientListWindow::*handler)())
{
    auto *button = new QPushButton(buttonText, m_actions);
    button->setObjectName(QStringLiteral("button") + name);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, handler);
    QAction *item = m_menu->addAction(menuText);
    item->setObjectName(QStringLiteral("item") + name);
    connect(item, &QAction::triggered, this, handler);
    return {button, item};
}

QRadioButton *PatientListWindow::sortOption(const QString &column) const
{
    return findChild<QRadioButton *>(QStringLiteral("sort") + column);
}

QPushButton *PatientListWindow::actionButton(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

QAction *PatientListWindow::menuItem(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

void PatientListWindow::FormShow()
{
    Kit::guarded(this, [this] {
        openConnection();
        reopen(m_list, ListSql);
    });
    updateCount();
    // Whatever order was chosen at an earlier showing starts again from surname ascending.
    sortOption(QStringLiteral("EPWNYMO"))->setChecked(true);
    m_ascending->setChecked(true);
    SortColumn = QStringLiteral("EPWNYMO");
    SortDirection = kAsc;
    // The find window's texts already order the rows by surname with the same Greek
    // comparison the in-memory sort uses; sorting every row a second time would change nothing.
    if (!ListSql.trimmed().endsWith(QStringLiteral(" ORDER BY EPWNYMO ASC"), Qt::CaseInsensitive))
        applySort();
    enableHookedActions();
}

void PatientListWindow::reread()
{
    Kit::guarded(this, [this] {
        m_list.close();
        openConnection();
        m_list.open();
    });
    updateCount();
}

void PatientListWindow::updateCount()
{
    const int n = m_list.rowCount();
    m_count->setText(Kit::countText(n, kPatients));
    // Without a patient there is nothing to act on: the actions go out of sight.
    const bool any = n != 0;
    m_sortBy->setVisible(any);
    m_sortKind->setVisible(any);
    m_actions->setVisible(any && !m_choosing);
    m_menu->menuAction()->setVisible(any && !m_choosing);
    m_choose->setVisible(any && m_choosing);
    m_bar->setVisible(any);
}

void PatientListWindow::applySort()
{
    if (!m_list.isOpen())
        return;
    Kit::guarded(this, [this] { m_list.sort(SortColumn + SortDirection); });
}

void PatientListWindow::enableHookedActions()
{
    // The windows of other areas are reached through hooks; an action whose hook is not set
    // stays disabled. Receipts also need the numbering to be defined.
    const bool printouts = bool(WindowHooks::openPatientPrintouts);
    m_printouts.button->setEnabled(printouts);
    m_printouts.item->setEnabled(printouts);
    if (WindowHooks::openReceipt && Program::ReceiptNumberingDefined) {
        m_receipt.button->setEnabled(true);
        m_receipt.item->setEnabled(true);
    }
    const bool payments = bool(WindowHooks::openPatientPayments);
    m_payments.button->setEnabled(payments);
    m_payments.item->setEnabled(payments);
}

bool PatientListWindow::hasPatient() const
{
    return m_list.isOpen() && m_list.currentRow() >= 0;
}

PatientContext PatientListWindow::currentPatient() const
{
    PatientContext p;
    if (!hasPatient())
        return p;
    p.id = m_list.fieldText(QStringLiteral("ID")).trimmed();
    p.firstName = m_list.fieldText(QStringLiteral("ONOMA")).trimmed();
    p.surname = m_list.fieldText(QStringLiteral("EPWNYMO")).trimmed();
    p.birthDate = m_list.fieldText(QStringLiteral("HMEROMHNIA_GENNHSEWS")).trimmed();
    return p;
}

void PatientListWindow::patientDataClick()
{
    if (!hasPatient())
        return;
    {
        PatientDataWindow w(this);
        w.PatientId = currentPatient().id;
        w.showModal();
    }
    // The details may have changed so that the patient sorts elsewhere or no longer matches.
    reread();
}

void PatientListWindow::healthRecordClick()
{
    if (!hasPatient())
        return;
    const PatientContext p = currentPatient();
    HealthRecordWindow w(this);
    w.PatientId = p.id;
    w.PatientFirstName = p.firstName;
    w.PatientSurname = p.surname;
    w.PatientBirthDate = p.birthDate;
    w.showModal();
}

void PatientListWindow::visitsClick()
{
    if (!hasPatient())
        return;
    const PatientContext p = currentPatient();
    VisitsWindow w(this);
    w.PatientFirstName = p.firstName;
    w.PatientSurname = p.surname;
    w.PatientId = p.id;
    w.showModal();
}

void PatientListWindow::printoutsClick()
{
    if (!hasPatient() || !WindowHooks::openPatientPrintouts)
        return;
    const QString id = currentPatient().id;
    Kit::guarded(this, [&] { WindowHooks::openPatientPrintouts(this, id, ListFilter, ListSql); });
}

void PatientListWindow::receiptClick()
{
    if (!hasPatient() || !WindowHooks::openReceipt)
        return;
    const PatientContext p = currentPatient();
    Kit::guarded(this, [&] { WindowHooks::openReceipt(this, p); });
}

void PatientListWindow::paymentsClick()
{
    if (!hasPatient() || !WindowHooks::openPatientPayments)
        return;
    const PatientContext p = currentPatient();
    Kit::guarded(this, [&] { WindowHooks::openPatientPayments(this, p); });
}

void PatientListWindow::appointmentsClick()
{
    if (!hasPatient())
        return;
    const PatientContext p = currentPatient();
    PatientAppointmentsWindow w(this);
    w.PatientFirstName = p.firstName;
    w.PatientSurname = p.surname;
    w.PatientId = p.id;
    w.showModal();
}

void PatientListWindow::setChoosing(bool choosing)
{
    m_choosing = choosing;
    m_chosen.reset();
    updateCount();
}

void PatientListWindow::chooseClick()
{
    if (!m_choosing || !hasPatient())
        return;
    m_chosen = currentPatient();
    done(QDialog::Accepted);
}

void PatientListWindow::exportClick()
{
    if (!hasPatient())
        return;
    PatientExport::run(this, currentPatient());
}

void PatientListWindow::deleteClick()
{
    if (!hasPatient())
        return;
    // The record bar asks "Delete record?", deletes only this row of STOIXEIA_PELATH and
    // reports back, which updates the count line.
    m_bar->press(RecordNavigator::Delete);
}

void PatientListWindow::done(int result)
{
    m_list.close();
    m_connection.close();
    PatientWindow::done(result);
}
