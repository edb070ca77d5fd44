#include "recordgrid.h"

#include "recordset.h"
#include "window.h"

#include <QHeaderView>
#include <QKeyEvent>

RecordSetModel::RecordSetModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

void RecordSetModel::setRecordSet(RecordSet *records)
{
    for (const auto &link : m_links)
        disconnect(link);
    m_links.clear();
    beginResetModel();
    m_records = records;
    if (records) {
        // The record set announces each change before making it; the views hear of it in the
        // same order, as the model contract asks.
        m_links << connect(records, &RecordSet::aboutToReset, this, [this] { beginResetModel(); });
        m_links << connect(records, &RecordSet::reset, this, [this] {
            readColumns();
            endResetModel();
        });
        m_links << connect(records, &RecordSet::rowChanged, this, [this](int row) {
            if (row >= 0 && row < rowCount() && columnCount() > 0)
                emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
        m_links << connect(records, &RecordSet::aboutToInsertRow, this,
                           [this](int row) { beginInsertRows({}, row, row); });
        m_links << connect(records, &RecordSet::rowInserted, this, [this] { endInsertRows(); });
        m_links << connect(records, &RecordSet::aboutToRemoveRow, this,
                           [this](int row) { beginRemoveRows({}, row, row); });
        m_links << connect(records, &RecordSet::rowRemoved, this, [this] { endRemoveRows(); });
        // A record set that goes away leaves an empty grid behind.
        m_links << connect(records, &QObject::destroyed, this, [this] {
            beginResetModel();
            m_records = nullptr;
            readColumns();
            endResetModel();
        });
    }
    readColumns();
    endResetModel();
}

void RecordSetModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    readColumns();
    endResetModel();
}

void RecordSetModel::readColumns()
{
    m_shown = m_columns;
    m_fieldIndex.clear();
    if (m_records && m_records->isOpen()) {
        if (m_shown.isEmpty()) {
            for (const QString &name : m_records->fieldNames())
                m_shown.append({name, name});
        }
        for (const GridColumn &c : m_shown)
            m_fieldIndex.append(m_records->fieldIndex(c.field));
    } else {
        for (int i = 0; i < m_shown.size(); ++i)
            m_fieldIndex.append(-1);
    }
}

int RecordSetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_records)
        return 0;
    return m_records->rowCount();
}

int RecordSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant RecordSetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_records)
        return {};
    if (role == Qt::DisplayRole) {
        const int field = m_fieldIndex.value(index.column(), -1);
        if (field < 0)
            return {};
        // A multi-line text shows its first line in a grid cell.
        const QString text = m_records->text(index.row(), field);
        const qsizetype nl = text.indexOf(QLatin1Char('\n'));
        return nl < 0 ? text : text.left(nl);
    }
    if (role == Qt::TextAlignmentRole)
        return int(m_shown.at(index.column()).alignment);
    return {};
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_shown.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_shown.at(section).title;
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

RecordGrid::RecordGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new RecordSetModel(this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFocusPolicy(Qt::ClickFocus);
    setTabKeyNavigation(false);
    setAlternatingRowColors(false);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(12);
    QFont bold = horizontalHeader()->font();
    bold.setBold(true);
    horizontalHeader()->setFont(bold);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    // The selection stays visible when the grid is not focused.
    QPalette pal = palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyColumns();
        followCurrent();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (m_records && current.isValid() && current.row() != m_records->currentRow()) {
                    if (!Kit::guarded(this, [&] { m_records->setCurrentRow(current.row()); }))
                        followCurrent();
                }
            });
}

void RecordGrid::setRecordSet(RecordSet *records, const QList<GridColumn> &columns)
{
    for (const auto &link : m_links)
        disconnect(link);
    m_links.clear();
    m_records = records;
    m_model->setColumns(columns);
    m_model->setRecordSet(records);
    if (records)
        m_links << connect(records, &RecordSet::currentChanged, this, &RecordGrid::followCurrent);
    applyColumns();
    followCurrent();
}

void RecordGrid::applyColumns()
{
    const QList<GridColumn> &columns = m_model->columns();
    for (int i = 0; i < columns.size(); ++i)
        setColumnWidth(i, columns.at(i).width);
}

void RecordGrid::followCurrent()
{
    if (!m_records || m_records->currentRow() < 0 || m_model->columnCount() == 0)
        return;
    const QModelIndex idx = m_model->index(m_records->currentRow(), 0);
    if (selectionModel()->currentIndex().row() != idx.row()
        || !selectionModel()->isRowSelected(idx.row(), {})) {
        selectionModel()->setCurrentIndex(idx,
                                          QItemSelectionModel::ClearAndSelect
                                              | QItemSelectionModel::Rows);
    }
    scrollTo(idx);
}

void RecordGrid::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier)) {
        emit deleteRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}
