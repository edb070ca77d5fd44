#include "healthrecordwindow.h"

#include "fieldbinder.h"
#include "patientsql.h"
#include "recordnavigator.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString kCaption = QStringLiteral("Δελτίο υγείας");
const QString kGroup = QStringLiteral("Aσθένειες - Παθήσεις");
const QString kHistory = QStringLiteral("Άλλες ασθένεις και Ιστορικό:");
const QString kYes = QStringLiteral("ΝΑΙ");
const QString kNo = QStringLiteral("ΟΧΙ");

// The conditions in column order 1 to 27.
const char *const kConditions[27] = {
    "Αυχενικό σύνδρομο:",
    "Αρθρίτιδα:",
    "Διάστρεμμα:",
    "Δισκοπάθεια:",
    "Δισκοκoίλες:",
    "Κατάγματα:",
    "Κύφωση:",
    "Λόρδωση:",
    "Σκολίωση:",
    "Οστεοαρθρίτιδα:",
    "Οστεοπόρωση:",
    "Παραπληγία:",
    "Τετραπληγία:",
    "Σκλήρυνση καταπλάκας:",
    "Πάρκινσον:",
    "Σπονδυλολίσθιση:",
    "Σπονδυλόλυση:",
    "Τενοντίτιδα:",
    "Κακώσεις συνδέσμων:",
    "Κάκωση μηνίσκου:",
    "Μυϊκή ατροφία - αδυναμία:",
    "Ρευματοειδής αρθρίτιδα:",
    "Χονδροπάθεια επιγονατίδος:",
    "Νευραλγία:",
    "Ισχιαλγία:",
    "Εξάρθρημα:",
    "Θλάσεις μυών:",
};

// The window's own background, lighter than the program's sky blue.
const QColor kCream(0xFF, 0xFB, 0xF0);

} // namespace

QString HealthRecordWindow::conditionLabel(int column)
{
    if (column < 1 || column > 27)
        return {};
    return QString::fromUtf8(kConditions[column - 1]);
}

HealthRecordWindow::HealthRecordWindow(QWidget *parent)
    : PatientWindow(parent)
    , m_query(m_connection)
    , m_binder(new FieldBinder(this))
{
    setObjectName(QStringLiteral("TForm20"));
    setUpWindow(kCaption, 860, 720);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kCream);
    setPalette(pal);

    // Header: what the caller passed in, not what the row holds.
    const struct {
        const char *label;
        QLabel **value;
        const char *name;
    } header[] = {
        {"Όνομα:", &m_firstName, "valueFirstName"},
        {"Επώνυμο:", &m_surname, "valueSurname"},
        {"Ημερ. Γεννήσεως:", &m_birthDate, "valueBirthDate"},
    };
    int y = 10;
    for (const auto &h : header) {
        auto *label = Kit::boldLabel(QString::fromUtf8(h.label), this);
        label->setGeometry(16, y, 120, 20);
        *h.value = Kit::boldLabel(QString(), this, true);
        (*h.value)->setObjectName(QLatin1String(h.name));
        (*h.value)->setGeometry(140, y, 400, 20);
        y += 22;
    }

    auto *group = new QGroupBox(kGroup, this);
    group->setObjectName(QStringLiteral("groupConditions"));
    group->setGeometry(8, 84, 844, 276);
    for (int column = 1; column <= 27; ++column) {
        const int col = (column - 1) / 9;
        const int row = (column - 1) % 9;
        const int x = 8 + col * 278;
        const int top = 22 + row * 27;
        auto *label = Kit::boldLabel(conditionLabel(column), group);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(x, top, 196, 22);
        auto *box = new QComboBox(group);
        box->setObjectName(QStringLiteral("condition%1").arg(column));
        box->addItems({kYes, kNo});
        box->setEditable(false);
        box->setCurrentIndex(-1);
        box->setFocusPolicy(Qt::ClickFocus);
        box->setGeometry(x + 202, top, 64, 22);
        label->setBuddy(box);
        m_binder->bind(box, QString::number(column));
        m_conditions << box;
    }

    auto *historyLabel = Kit::boldLabel(kHistory, this);
    historyLabel->setGeometry(16, 372, 240, 20);
    historyLabel->setWordWrap(true);
    m_history = new QPlainTextEdit(this);
    m_history->setObjectName(QStringLiteral("editHistory"));
    m_history->setGeometry(264, 372, 570, 300);
    m_history->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_history->setFocusPolicy(Qt::ClickFocus);
    m_history->setTabChangesFocus(true);
    historyLabel->setBuddy(m_history);
    m_binder->bind(m_history, QStringLiteral("ISTORIKO"));
    m_binder->setRecordSet(&m_query);

    m_bar = new RecordNavigator(RecordNavigator::Post, this);
    m_bar->setObjectName(QStringLiteral("recordBar"));
    m_bar->setGeometry(264, 682, 30, 25);
    m_bar->setRecordSet(&m_query);

    m_exit = addExitButton(QStringLiteral("buttonExit"));
    m_exit->setFocusPolicy(Qt::ClickFocus);
    m_exit->setGeometry(width() - 104, height() - 38, 88, 28);
}

HealthRecordWindow::~HealthRecordWindow() = default;

QComboBox *HealthRecordWindow::conditionBox(int column) const
{
    return column >= 1 && column <= 27 ? m_conditions.at(column - 1) : nullptr;
}

void HealthRecordWindow::FormShow()
{
    Kit::guarded(this, [this] {
        openConnection();
        reopen(m_query, PatientSql::healthRecord(PatientId));
    });
    // Without the patient's row there is nothing to answer: a change would start a new row.
    const bool found = m_query.isOpen() && m_query.rowCount() > 0;
    for (QComboBox *box : std::as_const(m_conditions))
        box->setEnabled(found);
    m_history->setReadOnly(!found);
    m_birthDate->setText(PatientBirthDate);
    m_surname->setText(PatientSurname);
    m_firstName->setText(PatientFirstName);
}

void HealthRecordWindow::done(int result)
{
    // Changes not posted are dropped without a question.
    m_query.close();
    m_connection.close();
    PatientWindow::done(result);
}
