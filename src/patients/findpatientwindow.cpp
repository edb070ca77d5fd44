#include "findpatientwindow.h"

#include "messageservice.h"
#include "patientlistwindow.h"
#include "patientsql.h"
#include "sqltext.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {
const QString kCaption = QStringLiteral("Εύρεση ασθενούς");
const QString kSurnamePage = QStringLiteral("Με βάση τα αρχικά του επωνύμου");
const QString kDatePage = QStringLiteral("Με βάση την ημερομηνία γεννήσεως");
const QString kSurnameHint = QStringLiteral("Γράψε τα αρχικά του επωνύμου");
const QString kFrom = QStringLiteral("Από:");
const QString kTo = QStringLiteral("Μέχρι:");
const QString kFind = QStringLiteral("Εύ&ρεση");
const QString kAll = QStringLiteral("Όλοι οι ασθενείς");
const QString kBadCriteria = QStringLiteral("Λανθασμένα κριτήρια.");
const QString kError = QStringLiteral("ERROR");
} // namespace

FindPatientWindow::FindPatientWindow(PatientListWindow *list, QWidget *parent)
    : Window(parent)
    , m_list(list)
{
    setObjectName(QStringLiteral("TForm17"));
    setUpWindow(kCaption, 540, 210);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->setGeometry(8, 8, 524, 140);

    auto *surnamePage = new QWidget;
    surnamePage->setObjectName(QStringLiteral("pageSurname"));
    auto *hint = Kit::boldLabel(kSurnameHint, surnamePage);
    hint->setGeometry(16, 16, 300, 20);
    m_surname = new QLineEdit(surnamePage);
    m_surname->setObjectName(QStringLiteral("editSurname"));
    m_surname->setGeometry(16, 42, 260, 22);
    hint->setBuddy(m_surname);
    m_surnameFind = new QPushButton(kFind, surnamePage);
    m_surnameFind->setObjectName(QStringLiteral("buttonSurnameFind"));
    m_surnameFind->setGeometry(300, 40, 100, 26);
    m_surnameFind->setEnabled(false);
    m_tabs->addTab(surnamePage, kSurnamePage);

    auto *datePage = new QWidget;
    datePage->setObjectName(QStringLiteral("pageDates"));
    // A date box with its label before it and its red mark after it.
    auto dateBox = [datePage](const QString &caption, const QString &name, int y) {
        auto *label = Kit::boldLabel(caption, datePage);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(8, y, 60, 22);
        auto *box = new QLineEdit(datePage);
        box->setObjectName(name);
        box->setGeometry(76, y, 100, 22);
        label->setBuddy(box);
        Kit::requiredStar(datePage)->setGeometry(182, y, 12, 22);
        return box;
    };
    m_from = dateBox(kFrom, QStringLiteral("editFrom"), 16);
    m_to = dateBox(kTo, QStringLiteral("editTo"), 48);
    m_dateFind = new QPushButton(kFind, datePage);
    m_dateFind->setObjectName(QStringLiteral("buttonDateFind"));
    m_dateFind->setGeometry(300, 46, 100, 26);
    m_tabs->addTab(datePage, kDatePage);
    m_tabs->setCurrentIndex(0);

    m_all = new QPushButton(kAll, this);
    m_all->setObjectName(QStringLiteral("buttonAll"));
    m_all->setGeometry(8, height() - 44, 140, 28);

    m_exit = addExitButton(QStringLiteral("buttonExit"));
    m_exit->setGeometry(width() - 104, height() - 44, 88, 28);

    connect(m_surname, &QLineEdit::textChanged, this, &FindPatientWindow::surnameChanged);
    connect(m_from, &QLineEdit::textChanged, this, &FindPatientWindow::datesChanged);
    connect(m_to, &QLineEdit::textChanged, this, &FindPatientWindow::datesChanged);
    connect(m_surnameFind, &QPushButton::clicked, this, &FindPatientWindow::surnameFindClick);
    connect(m_dateFind, &QPushButton::clicked, this, &FindPatientWindow::dateFindClick);
    connect(m_all, &QPushButton::clicked, this, &FindPatientWindow::allPatientsClick);

    // Enter in a box presses the find button of its page, while that button is enabled.
    for (QPushButton *b : {m_surnameFind, m_dateFind, m_all})
        b->setAutoDefault(false);
    auto pressIfEnabled = [](QPushButton *b) {
        if (b->isEnabled())
            b->click();
    };
    connect(m_surname, &QLineEdit::returnPressed, this,
            [=, this] { pressIfEnabled(m_surnameFind); });
    connect(m_from, &QLineEdit::returnPressed, this, [=, this] { pressIfEnabled(m_dateFind); });
    connect(m_to, &QLineEdit::returnPressed, this, [=, this] { pressIfEnabled(m_dateFind); });
    m_surname->setFocus();
}

void FindPatientWindow::surnameChanged()
{
    const QString s = m_surname->text().trimmed();
    m_surnameFind->setEnabled(!s.isEmpty() && SqlText::IsSafeText(s));
}

void FindPatientWindow::datesChanged()
{
    m_dateFind->setEnabled(SqlText::IsSafeText(m_from->text().trimmed())
                           && SqlText::IsSafeText(m_to->text().trimmed()));
}

void FindPatientWindow::surnameFindClick()
{
    const QString s = m_surname->text().trimmed();
    // The letters go into the SQL text as typed, so nothing unsafe may get this far even if
    // the button is pressed some other way than by a person.
    if (s.isEmpty() || !SqlText::IsSafeText(s))
        return;
    const PatientSql::ListQuery q = PatientSql::bySurname(s);
    showList(q.filter, q.sql);
}

void FindPatientWindow::dateFindClick()
{
    const QString from = SqlText::ToSqlDate(m_from->text().trimmed());
    const QString to = SqlText::ToSqlDate(m_to->text().trimmed());
    if (from == kError || to == kError) {
        // Enabled again by the next change of either box.
        m_dateFind->setEnabled(false);
        Messages::information(this, kBadCriteria);
        return;
    }
    const PatientSql::ListQuery q = PatientSql::byBirthDate(from, to);
    showList(q.filter, q.sql);
}

void FindPatientWindow::allPatientsClick()
{
    const PatientSql::ListQuery q = PatientSql::allPatients();
    showList(q.filter, q.sql);
}

void FindPatientWindow::showList(const QString &listFilter, const QString &listSql)
{
    if (!m_list)
        return;
    m_list->ListFilter = listFilter;
    m_list->ListSql = listSql;
    m_list->setChoosing(m_choosing);
    m_list->showModal();
    const std::optional<PatientContext> chosen = m_list->chosen();
    m_list->setChoosing(false);
    if (m_choosing && chosen) {
        m_chosen = chosen;
        done(QDialog::Accepted);
    }
}
