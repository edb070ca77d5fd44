#include "patientfieldsform.h"

#include "fieldbinder.h"
#include "window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

struct FieldInfo {
    const char *field;
    const char *label;
    bool expected;
    int width;
};

// Labels, columns and marks of the nine fields, in tab order.
const FieldInfo kFields[] = {
    {"ONOMA", "Όνομα:", true, 250},
    {"EPWNYMO", "Επώνυμο:", true, 250},
    {"FYLO", "Φύλο:", true, 100},
    {"HMEROMHNIA_GENNHSEWS", "Ημερομηνία γεννήσεως:", true, 100},
    {"DIEYTHYNSH", "Διεύθυνση:", true, 250},
    {"THLEFWNO_1", "Τηλέφωνο 1:", true, 150},
    {"THLEFWNO_2", "Τηλέφωνο 2:", false, 150},
    {"EPAGGELMA", "Επάγγελμα:", false, 250},
    {"TAMEIO", "Tαμείο:", false, 250},
};

constexpr int kLabelWidth = 160;
constexpr int kBoxLeft = 168;
constexpr int kRowHeight = 28;

} // namespace

PatientFieldsForm::PatientFieldsForm(QWidget *parent)
    : QWidget(parent)
{
    int y = 0;
    QWidget *previous = nullptr;
    for (const FieldInfo &info : kFields) {
        const QString field = QLatin1String(info.field);
        auto *label = Kit::boldLabel(QString::fromUtf8(info.label), this);
        label->setObjectName(QStringLiteral("label") + field);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(0, y, kLabelWidth, 22);
        QWidget *box;
        if (field == QLatin1String("FYLO")) {
            m_sex = new QComboBox(this);
            m_sex->addItems({QStringLiteral("ΑΡΡΕΝ"), QStringLiteral("ΘΗΛΥ")});
            m_sex->setEditable(false);
            m_sex->setCurrentIndex(-1);
            box = m_sex;
        } else {
            auto *edit = new QLineEdit(this);
            m_edits.insert(field, edit);
            box = edit;
        }
        box->setObjectName(QStringLiteral("field") + field);
        box->setGeometry(kBoxLeft, y, info.width, 22);
        label->setBuddy(box);
        if (info.expected) {
            QLabel *star = Kit::requiredStar(this);
            star->setGeometry(kBoxLeft + info.width + 6, y, 12, 22);
        }
        if (previous)
            QWidget::setTabOrder(previous, box);
        previous = box;
        y += kRowHeight;
    }
    setFixedSize(kBoxLeft + 250 + 24, y);
}

QStringList PatientFieldsForm::fields()
{
    QStringList out;
    for (const FieldInfo &info : kFields)
        out << QLatin1String(info.field);
    return out;
}

void PatientFieldsForm::bindTo(FieldBinder *binder)
{
    for (const FieldInfo &info : kFields) {
        const QString field = QLatin1String(info.field);
        if (QLineEdit *e = m_edits.value(field))
            binder->bind(e, field);
        else
            binder->bind(m_sex, field);
    }
}

QWidget *PatientFieldsForm::firstField() const
{
    return m_edits.value(QStringLiteral("ONOMA"));
}
