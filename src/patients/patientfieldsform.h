#pragma once

#include <QHash>
#include <QWidget>

class FieldBinder;
class QComboBox;
class QLineEdit;

// The nine basic details of a patient as the new-patient and the patient data windows show
// them: bold labels right-aligned against one column of boxes, a red "*" after each expected
// field, in the order of typing.
class PatientFieldsForm : public QWidget {
    Q_OBJECT
public:
    explicit PatientFieldsForm(QWidget *parent = nullptr);

    // The columns of STOIXEIA_PELATH shown, in tab order.
    static QStringList fields();

    void bindTo(FieldBinder *binder);
    // The text box of a column (nullptr for FYLO, which is a drop-down list).
    QLineEdit *edit(const QString &field) const { return m_edits.value(field); }
    QComboBox *sexBox() const { return m_sex; }
    // The first box, to start typing in.
    QWidget *firstField() const;

private:
    QHash<QString, QLineEdit *> m_edits;
    QComboBox *m_sex = nullptr;
};
