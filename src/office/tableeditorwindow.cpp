#include "tableeditorwindow.h"

#include "fieldbinder.h"
#include "officetexts.h"
#include "recordnavigator.h"
#include "windowhooks.h"

#include <QGridLayout>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr auto kEditorButtons = RecordNavigator::Moves | RecordNavigator::Insert
    | RecordNavigator::Delete | RecordNavigator::Post;

QLabel *redLabel(const QString &text, QWidget *parent, bool top)
{
    auto *label = Kit::boldLabel(text, parent, true);
    label->setAlignment(Qt::AlignLeft | (top ? Qt::AlignTop : Qt::AlignVCenter));
    return label;
}

} // namespace

TableEditorWindow::TableEditorWindow(const EditorLayout &layout, QWidget *parent)
    : DataWindow(parent)
    , m_layout(layout)
    , m_table(m_connection)
    , m_binder(new FieldBinder(this))
{
    setObjectName(layout.objectName);
    setUpWindow(layout.caption, layout.width, layout.height);
    closesWithWindow({&m_table});
    // A row a person types in is one they would type again if told it was not saved.
    m_table.setRegistersInserts(true);

    auto *page = new QVBoxLayout(this);
    auto *form = new QGridLayout;
    form->setColumnStretch(1, 1);
    QWidget *previous = nullptr;
    for (int i = 0; i < layout.fields.size(); ++i) {
        const EditorField &f = layout.fields.at(i);
        auto *label = Kit::boldLabel(f.label, this);
        label->setAlignment(Qt::AlignRight | (f.multiline ? Qt::AlignTop : Qt::AlignVCenter));
        QWidget *editor = nullptr;
        if (f.multiline) {
            auto *text = new QPlainTextEdit(this);
            text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            text->setTabChangesFocus(true);
            m_binder->bind(text, f.column);
            editor = text;
            form->setRowStretch(i, 1);
        } else {
            auto *line = new QLineEdit(this);
            m_binder->bind(line, f.column);
            editor = line;
        }
        editor->setObjectName(QStringLiteral("edit") + f.column);
        label->setBuddy(editor);
        form->addWidget(label, i, 0);
        if (f.width > 0) {
            // A short field keeps its mark right behind it.
            editor->setFixedWidth(f.width);
            auto *row = new QHBoxLayout;
            row->addWidget(editor);
            if (!f.mark.isEmpty())
                row->addWidget(redLabel(f.mark, this, false));
            row->addStretch();
            form->addLayout(row, i, 1, 1, 2);
        } else {
            form->addWidget(editor, i, 1);
            if (!f.mark.isEmpty())
                form->addWidget(redLabel(f.mark, this, f.multiline), i, 2,
                                f.multiline ? Qt::AlignTop : Qt::Alignment());
        }
        if (previous)
            QWidget::setTabOrder(previous, editor);
        previous = editor;
        m_editors.insert(f.column, editor);
    }
    // Only a multi-line text grows with the window; single lines keep their height.
    const bool grows = std::any_of(layout.fields.cbegin(), layout.fields.cend(),
                                   [](const EditorField &f) { return f.multiline; });
    page->addLayout(form, grows ? 2 : 0);

    m_navigator = new RecordNavigator(kEditorButtons, this);
    m_navigator->setObjectName(QStringLiteral("navigator"));
    m_navigator->setFixedSize(7 * 30, 26);
    page->addWidget(m_navigator);

    m_grid = new RecordGrid(this);
    m_grid->setObjectName(QStringLiteral("grid"));
    page->addWidget(m_grid, 3);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    if (layout.printsNotes) {
        m_print = new QPushButton(OfficeTexts::kPrint, this);
        m_print->setObjectName(QStringLiteral("printButton"));
        m_print->setAutoDefault(false);
        m_print->setEnabled(false);
        buttons->addWidget(m_print);
        connect(m_print, &QPushButton::clicked, this, &TableEditorWindow::PrintClick);
    }
    m_exit = addExitButton();
    buttons->addWidget(m_exit);
    page->addLayout(buttons);

    connect(m_navigator, &RecordNavigator::pressed, this, &TableEditorWindow::applyPrintRule);
    connect(m_grid, &RecordGrid::deleteRequested, this,
            [this] { m_navigator->press(RecordNavigator::Delete); });

    if (!layout.opensWhenShown)
        openTable();
}

TableEditorWindow::~TableEditorWindow() = default;

void TableEditorWindow::FormShow()
{
    if (m_layout.opensWhenShown)
        openTable();
}

void TableEditorWindow::openTable()
{
    Kit::guarded(this, [this] {
        openConnection();
        m_table.close();
        m_table.setTableName(m_layout.table);
        m_table.open();
        m_table.sort(m_layout.sortText);
        m_table.first();
    });
    m_binder->setRecordSet(&m_table);
    m_navigator->setRecordSet(&m_table);
    m_grid->setRecordSet(&m_table, m_layout.columns);
    m_grid->horizontalHeader()->setSectionResizeMode(
        m_layout.resizableColumns ? QHeaderView::Interactive : QHeaderView::Fixed);
    applyPrintRule();
}

void TableEditorWindow::applyPrintRule()
{
    if (!m_print)
        return;
    // A row being inserted is not a note yet: there is nothing to print until it is saved.
    const int saved = m_table.rowCount() - (m_table.state() == RecordSet::State::Insert ? 1 : 0);
    m_print->setEnabled(m_table.isOpen() && saved > 0 && bool(WindowHooks::openNotesPrinting));
}

void TableEditorWindow::PrintClick()
{
    if (!m_print || !m_print->isEnabled())
        return;
    const QString noteId = m_table.fieldText(QStringLiteral("ID")).trimmed();
    WindowHooks::openNotesPrinting(this, noteId);
}
