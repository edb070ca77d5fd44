#pragma once

#include <QObject>
#include <QPointer>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
#include "recordset.h"

// Ties editors to fields of a record set's current row, by field name. The editors show the
// current row; typing into one starts an edit of that row (or a new row when there is none),
// and the typed text becomes the field's pending value, written when the row is posted.
// An editor accepts at most the declared width of its column.
class FieldBinder : public QObject {
    Q_OBJECT
public:
    explicit FieldBinder(QObject *parent = nullptr);

    void setRecordSet(RecordSet *records);
    RecordSet *recordSet() const { return m_records; }

    void bind(QLineEdit *editor, const QString &field);
    void bind(QPlainTextEdit *editor, const QString &field);
    // A drop-down list: the field's text is shown as it is, also when it is not one of the
    // items; choosing an item sets the field.
    void bind(QComboBox *editor, const QString &field);
    // A read-only label showing the field's text.
    void bind(QLabel *label, const QString &field);

    // Shows the current row again in every editor.
    void refresh();

signals:
    // A person changed a field through one of the editors.
    void edited(const QString &field);

private:
    struct Binding {
        QPointer<QWidget> widget;
        QString field;
    };
    void show(const Binding &b);
    void applyWidth(const Binding &b);
    void userEdit(const QString &field, const QString &text);

    QPointer<RecordSet> m_records;
    QList<Binding> m_bindings;
    QList<QMetaObject::Connection> m_links;
    bool m_updating = false;
};
