#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

class Connection;

// What the program relies on about a column's values.
enum class ColumnKind { Unknown, Text, Memo, Integer, Counter, Number, Date, YesNo };

struct ColumnInfo {
    QString name;         // name in the result
    QString originTable;  // table the value comes from; empty for expressions
    QString originColumn; // column of that table
    ColumnKind kind = ColumnKind::Unknown;
    int width = 0; // declared width of a text column, 0 when none
};

// A static client-side record set: fetched whole when opened, row count known at once, a
// current row, sorted in memory by a sort text ("TITLOS ASC"), and, when its rows come from one
// table, editable row by row (insert, edit, post, cancel, delete), written with bound values
// and identified by the row's rowid.
class RecordSet : public QObject {
    Q_OBJECT
public:
    enum class State { Closed, Browse, Edit, Insert };

    explicit RecordSet(Connection &connection, QObject *parent = nullptr);
    ~RecordSet() override;

    Connection &connection() const { return m_connection; }

    void close();
    bool isOpen() const { return m_state != State::Closed; }
    State state() const { return m_state; }

    int rowCount() const { return int(m_rows.size()); }
    int columnCount() const { return int(m_columns.size()); }
    const ColumnInfo &column(int index) const { return m_columns.at(size_t(index)); }
    QStringList fieldNames() const;
    int fieldIndex(const QString &name) const; // -1 when there is no such column

    // Values of any row as stored (null, integer, double, text; dates as ISO text).
    QVariant value(int row, int column) const;
    // Values of any row as the program shows them: null as empty, dates as d/M/yyyy, yes/no as
    // "True"/"False", numbers in their shortest form with the system's decimal separator.
    QString text(int row, int column) const;

    // The current row; -1 when there is none.
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    void first();
    void last();
    void next();
    void prior();
    bool isEmpty() const { return m_rows.empty(); }
    bool bof() const { return m_rows.empty() || m_current <= 0; }
    bool eof() const { return m_rows.empty() || m_current >= rowCount() - 1; }

    // The current row's value by name or position (the pending value while editing).
    QVariant fieldValue(const QString &name) const;
    QVariant fieldValue(int column) const;
    QString fieldText(const QString &name) const;
    QString fieldText(int column) const;

    // Sorts the rows in memory: "COLUMN ASC" or "COLUMN DESC", several joined with commas.
    // Text follows Greek alphabetical order; nulls come first in ascending order. The current
    // row stays the same record.
    void sort(const QString &sortText);
    QString sortText() const { return m_sortText; }

    // Editing (only when the rows come from one table).
    bool isUpdatable() const { return !m_table.isEmpty(); }
    QString tableName() const { return m_table; }
    void insert();
    void edit();
    // Sets a value of the pending row: a text as typed is converted on post by the column's
    // kind (a date typed d/M/yyyy, an amount with a point or comma, a whole number,
    // "True"/"False"; blanks around are trimmed and an empty text is null). A text that is not
    // of the column's kind is refused by post() with a DbError and the row stays in edit.
    void setFieldValue(const QString &name, const QVariant &value);
    void post();
    void cancel();
    void deleteCurrent();
    bool isModified() const { return m_modified; }

    // New rows are registered: each entry (from insert() until it is posted) carries a token
    // written in the same transaction as the row, so that a post whose commit answer was lost
    // is looked up, not repeated. A lost answer is looked up at once; found, the post ends as
    // any post does; not found, it fails as nothing written. When the database cannot be
    // reached the post fails with kind OutcomeUnknown, the row stays pending, and the next
    // post, change or cancel looks the token up first.
    void setRegistersInserts(bool on) { m_registers = on; }
    bool hasUnsettledInsert() const { return m_unsettled; }
    // Looks the unsettled entry's token up now; true when it was found written (the row is
    // then shown as posted). False when it was not written, or still cannot be looked up.
    bool settle();

signals:
    // Each change to the rows is announced before it is made and reported after it, in pairs:
    // aboutToReset() then reset(), aboutToInsertRow(n) then rowInserted(n), aboutToRemoveRow(n)
    // then rowRemoved(n). A change that fails before it starts announces nothing.
    void aboutToReset();
    // The rows were read again, sorted, or closed: everything shown must be read again.
    void reset();
    // The current row moved.
    void currentChanged(int row);
    // A row's values changed (posted, cancelled or being edited).
    void rowChanged(int row);
    void aboutToInsertRow(int row);
    void rowInserted(int row);
    void aboutToRemoveRow(int row);
    void rowRemoved(int row);
    void stateChanged(RecordSet::State state);

protected:
    // Runs a SELECT in the engine's dialect; sourceTable names the table when the statement
    // asks for its rowid in the first column, so that the rows can be edited.
    void load(const QString &sql, const QString &sourceTable, const QString &shownSql);

private:
    struct Row {
        qint64 rowid = 0;
        std::vector<QVariant> values;
    };

    void loadFromServer(const QString &sql, const QString &sourceTable, const QString &shownSql);
    void show(std::vector<ColumnInfo> columns, std::vector<Row> rows, const QString &sourceTable);
    void requireBrowseOrEdit() const;
    void setState(State state);
    QVariant converted(int column, const QVariant &value) const;
    void reread(Row &row);
    // Takes a row out of the set (the database is not touched); the set is browsing after.
    void removeRow(int row);
    qint64 insertRow(const QString &sql, const QVariantList &values);
    // Writes the new row with its token; false when an earlier try was found written.
    bool insertRegistered(const QString &sql, const QVariantList &values, Row &written);
    bool settleBeforeChange();
    void finishPost(Row written);

    static constexpr int kLookUpPauseMs = 3000;

    Connection &m_connection;
    State m_state = State::Closed;
    std::vector<ColumnInfo> m_columns;
    std::vector<Row> m_rows;
    int m_current = -1;
    QString m_table;
    QString m_sortText;
    Row m_pending;
    bool m_modified = false;
    bool m_registers = false;
    bool m_unsettled = false; // the last post's commit answer was lost and not yet looked up
    QString m_token;
    QElapsedTimer m_lastLookUp;
};

// A query object: SQL text made of lines, opened as a static record set.
class Query : public RecordSet {
    Q_OBJECT
public:
    using RecordSet::RecordSet;
    void clearSql() { m_sql.clear(); }
    void addSql(const QString &line) { m_sql << line; }
    void setSql(const QString &sql) { m_sql = QStringList {sql}; }
    QString sql() const { return m_sql.join(QLatin1Char('\n')); }
    // Runs the SELECT (written in the windows' dialect) and fetches every row.
    void open();

private:
    QStringList m_sql;
};

// A table object: one whole table, all rows and columns, editable.
class Table : public RecordSet {
    Q_OBJECT
public:
    using RecordSet::RecordSet;
    void setTableName(const QString &name) { m_name = name; }
    QString name() const { return m_name; }
    void open();

private:
    QString m_name;
};

// A command object: one INSERT, UPDATE or DELETE statement; no result is read.
class Command {
public:
    explicit Command(Connection &connection)
        : m_connection(connection)
    {}
    void setText(const QString &sql) { m_sql = sql; }
    QString text() const { return m_sql; }
    int execute();

private:
    Connection &m_connection;
    QString m_sql;
};
