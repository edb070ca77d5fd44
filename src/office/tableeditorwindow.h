#pragma once

#include "datawindow.h"
#include "recordgrid.h"
#include "recordset.h"

#include <QHash>

class FieldBinder;
class QPushButton;
class RecordNavigator;

// One field of an editor: its label, the column it is bound to and the red mark after it
// ("*", "EUR *"; empty for none).
struct EditorField {
    QString label;
    QString column;
    QString mark;
    bool multiline = false;
    int width = 0; // a short field's fixed width; 0 fills the window's width
};

// What makes one table editor differ from another.
struct EditorLayout {
    QString objectName;
    QString caption;
    int width = 560;
    int height = 480;
    QString table;
    QString sortText; // the rows read are sorted once by it
    QList<EditorField> fields;
    QList<GridColumn> columns;
    bool opensWhenShown = false; // else the table is read once, when the window is created
    bool resizableColumns = false;
    bool printsNotes = false; // the notebook's print button
};

// A direct editor of one table: fields bound to the current row, a record bar (first, prior,
// next, last, insert, delete, save), a read-only grid of the rows whose Ctrl+Delete deletes
// after the same question, and the exit button. The notebook adds a print button, enabled
// while the table holds a saved row.
class TableEditorWindow : public DataWindow {
    Q_OBJECT
public:
    explicit TableEditorWindow(const EditorLayout &layout, QWidget *parent = nullptr);
    ~TableEditorWindow() override;

    void FormShow() override;

    Table &table() { return m_table; }
    RecordGrid *grid() const { return m_grid; }
    RecordNavigator *navigator() const { return m_navigator; }
    QWidget *editor(const QString &column) const { return m_editors.value(column); }
    QPushButton *printButton() const { return m_print; }
    QPushButton *exitButton() const { return m_exit; }

    // The notebook's print: the current note's ID to the notes printing window.
    void PrintClick();

private:
    void openTable();
    void applyPrintRule();

    EditorLayout m_layout;
    Table m_table;
    FieldBinder *m_binder;
    QHash<QString, QWidget *> m_editors;
    RecordNavigator *m_navigator;
    RecordGrid *m_grid;
    QPushButton *m_print = nullptr;
    QPushButton *m_exit;
};
