#include "fieldbinder.h"

#include "recordset.h"
#include "window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

FieldBinder::FieldBinder(QObject *parent)
    : QObject(parent)
{}

void FieldBinder::setRecordSet(RecordSet *records)
{
    for (const auto &link : m_links)
        disconnect(link);
    m_links.clear();
    m_records = records;
    if (records) {
        m_links << connect(records, &RecordSet::reset, this, [this] {
            for (const Binding &b : std::as_const(m_bindings))
                applyWidth(b);
            refresh();
        });
        m_links << connect(records, &RecordSet::currentChanged, this, &FieldBinder::refresh);
        m_links << connect(records, &RecordSet::rowChanged, this, [this](int row) {
            if (m_records && row == m_records->currentRow())
                refresh();
        });
    }
    for (const Binding &b : std::as_const(m_bindings))
        applyWidth(b);
    refresh();
}

void FieldBinder::bind(QLineEdit *editor, const QString &field)
{
    m_bindings.append({editor, field});
    connect(editor, &QLineEdit::textEdited, this,
            [this, field](const QString &text) { userEdit(field, text); });
    applyWidth(m_bindings.last());
    show(m_bindings.last());
}

void FieldBinder::bind(QPlainTextEdit *editor, const QString &field)
{
    m_bindings.append({editor, field});
    connect(editor, &QPlainTextEdit::textChanged, this, [this, editor, field] {
        if (!m_updating)
            userEdit(field, editor->toPlainText());
    });
    show(m_bindings.last());
}

void FieldBinder::bind(QComboBox *editor, const QString &field)
{
    m_bindings.append({editor, field});
    connect(editor, &QComboBox::activated, this,
            [this, editor, field](int index) { userEdit(field, editor->itemText(index)); });
    if (editor->isEditable()) {
        connect(editor->lineEdit(), &QLineEdit::textEdited, this,
                [this, field](const QString &text) { userEdit(field, text); });
    }
    applyWidth(m_bindings.last());
    show(m_bindings.last());
}

void FieldBinder::bind(QLabel *label, const QString &field)
{
    m_bindings.append({label, field});
    show(m_bindings.last());
}

void FieldBinder::refresh()
{
    for (const Binding &b : std::as_const(m_bindings))
        show(b);
}

void FieldBinder::applyWidth(const Binding &b)
{
    if (!m_records || !m_records->isOpen())
        return;
    const int i = m_records->fieldIndex(b.field);
    if (i < 0)
        return;
    const int width = m_records->column(i).width;
    if (width <= 0)
        return;
    if (auto *line = qobject_cast<QLineEdit *>(b.widget))
        line->setMaxLength(width);
    else if (auto *combo = qobject_cast<QComboBox *>(b.widget); combo && combo->lineEdit())
        combo->lineEdit()->setMaxLength(width);
}

void FieldBinder::show(const Binding &b)
{
    if (!b.widget)
        return;
    QString text;
    if (m_records && m_records->isOpen() && m_records->currentRow() >= 0) {
        const int i = m_records->fieldIndex(b.field);
        if (i >= 0)
            text = m_records->fieldText(i);
    }
    m_updating = true;
    if (auto *line = qobject_cast<QLineEdit *>(b.widget)) {
        if (line->text() != text)
            line->setText(text);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(b.widget)) {
        if (plain->toPlainText() != text)
            plain->setPlainText(text);
    } else if (auto *combo = qobject_cast<QComboBox *>(b.widget)) {
        const int at = combo->findText(text, Qt::MatchExactly);
        if (combo->isEditable()) {
            combo->setEditText(text);
        } else if (at >= 0) {
            combo->setCurrentIndex(at);
        } else {
            // A stored text that is not one of the items shows as an empty box; the stored
            // value stays as it is unless an item is chosen.
            combo->setCurrentIndex(-1);
        }
    } else if (auto *label = qobject_cast<QLabel *>(b.widget)) {
        label->setText(text);
    }
    m_updating = false;
}

void FieldBinder::userEdit(const QString &field, const QString &text)
{
    if (m_updating || !m_records || !m_records->isOpen())
        return;
    Kit::guarded(qobject_cast<QWidget *>(parent()), [&] { m_records->setFieldValue(field, text); });
    emit edited(field);
}
