#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QTableView>

#include "recordset.h"

// A column of a grid: the field it shows, its title, its width and alignment.
struct GridColumn {
    QString field;
    QString title;
    int width = 64;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// The rows of a record set as a read-only table model, with the columns a window chooses (or
// every field, titled by its name, when none are chosen). Every grid of the program shows its
// rows through this model; it passes on the record set's announcements of each change, so its
// begin/end signals bracket the change as Qt's model contract requires.
class RecordSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordSetModel(QObject *parent = nullptr);

    void setRecordSet(RecordSet *records);
    RecordSet *recordSet() const { return m_records; }
    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // The columns shown, from the chosen ones or the record set's fields.
    void readColumns();

    QPointer<RecordSet> m_records;
    QList<GridColumn> m_columns;
    QList<GridColumn> m_shown;
    QList<int> m_fieldIndex;
    QList<QMetaObject::Connection> m_links;
};

// The program's read-only grid: whole rows selected, the selection always shown, bold centred
// column titles, not a tab stop, not editable in place. Selecting a row makes it the record
// set's current row and the other way round. Ctrl+Delete asks the window to delete.
class RecordGrid : public QTableView {
    Q_OBJECT
public:
    explicit RecordGrid(QWidget *parent = nullptr);

    void setRecordSet(RecordSet *records, const QList<GridColumn> &columns = {});
    RecordSetModel *recordModel() const { return m_model; }

signals:
    void deleteRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyColumns();
    void followCurrent();

    RecordSetModel *m_model;
    QPointer<RecordSet> m_records;
    QList<QMetaObject::Connection> m_links;
};
