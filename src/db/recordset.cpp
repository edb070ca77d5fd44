#include "recordset.h"

#include "connection.h"
#include "dberror.h"
#include "dbtexts.h"
#include "decimal.h"
#include "dialect.h"
#include "greektext.h"
#include "registration.h"
#include "serversession.h"
#include "sqltext.h"

#include <QByteArrayView>
#include <QCache>
#include <QDate>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <optional>

namespace {

const char kRowidColumn[] = "__rowid";

// The key by which a row is read again, written and deleted: the file's rowid, or the column
// "rowid" that every table on a server has.
QString rowKey(const Connection &connection)
{
    return connection.server() ? QStringLiteral("rowid") : QStringLiteral("_rowid_");
}

// What the engine says about one column of a statement (UTF-8, owned by the statement).
struct RawColumn {
    const char *name;
    const char *table;
    const char *origin;
    const char *declared;
};

bool same(const QByteArray &kept, const char *p)
{
    return p ? (!kept.isNull() && std::strcmp(kept.constData(), p) == 0) : kept.isNull();
}

QByteArray keep(const char *p)
{
    return p ? QByteArray(p) : QByteArray();
}

QString textOf(const char *p)
{
    return p ? QString::fromUtf8(p) : QString();
}

// Whether a declared type starts with the word given (upper case), ignoring letter case.
bool typeIs(QByteArrayView declared, const char *word, bool prefix = false)
{
    const QByteArrayView w(word);
    if (declared.size() < w.size() || (!prefix && declared.size() != w.size()))
        return false;
    return qstrnicmp(declared.data(), w.data(), w.size()) == 0;
}

void describe(ColumnInfo &info, const char *declaredType)
{
    const QByteArrayView d = QByteArrayView(declaredType ? declaredType : "").trimmed();
    if (d.isEmpty()) {
        info.kind = ColumnKind::Unknown;
    } else if (typeIs(d, "VARCHAR", true)) {
        info.kind = ColumnKind::Text;
        const qsizetype open = d.indexOf('(');
        const qsizetype close = open < 0 ? -1 : d.indexOf(')', open + 1);
        bool ok = false;
        const int width = close < 0 ? 0 : d.sliced(open + 1, close - open - 1).trimmed().toInt(&ok);
        info.width = ok ? width : 0;
    } else if (typeIs(d, "LONGTEXT")) {
        info.kind = ColumnKind::Memo;
    } else if (typeIs(d, "DATE")) {
        info.kind = ColumnKind::Date;
    } else if (typeIs(d, "BOOLEAN")) {
        info.kind = ColumnKind::YesNo;
    } else if (typeIs(d, "DOUBLE")) {
        info.kind = ColumnKind::Number;
    } else if (typeIs(d, "INT", true)) {
        info.kind = ColumnKind::Integer;
    } else {
        info.kind = ColumnKind::Text;
    }
}

// A server column described as the file's declared types describe it.
void describeServer(ColumnInfo &info, const ServerSession::Column &c)
{
    if (c.table == 0) { // an expression: the file's engine declares no type for one either
        info.kind = ColumnKind::Unknown;
        return;
    }
    switch (c.type) {
    case 1043: // varchar
        info.kind = ColumnKind::Text;
        info.width = c.modifier > 4 ? c.modifier - 4 : 0;
        break;
    case 25: // text
        info.kind = ColumnKind::Memo;
        break;
    case 1082:
        info.kind = ColumnKind::Date;
        break;
    case 21: // smallint holds yes/no
    case 16:
        info.kind = ColumnKind::YesNo;
        break;
    case 700:
    case 701:
    case 1700:
        info.kind = ColumnKind::Number;
        break;
    case 20:
    case 23:
        info.kind = ColumnKind::Integer;
        break;
    default:
        info.kind = ColumnKind::Text;
    }
}

// The server names result columns in lower case unless they were quoted. The file's engine
// names them as the statement wrote them, and the program's tables are named in capitals: a
// name the statement spells is taken as spelt there, any other is put in capitals.
QString nameAsWritten(const QString &serverName, const QString &statement)
{
    if (serverName != serverName.toLower())
        return serverName;
    // A window reads with the same statements again and again (the month view one per day).
    thread_local QHash<QString, QHash<QString, QString>> known;
    QHash<QString, QString> &ofStatement = known[statement];
    const auto it = ofStatement.constFind(serverName);
    if (it != ofStatement.constEnd())
        return it.value();
    if (known.size() > 512)
        known.clear();
    const QRegularExpression word(
        QStringLiteral("(?<![\\w$])%1(?![\\w$])").arg(QRegularExpression::escape(serverName)),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = word.match(statement);
    const QString name = m.hasMatch() ? m.captured(0) : serverName.toUpper();
    known[statement].insert(serverName, name);
    return name;
}

QVariant columnValue(sqlite3_stmt *stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, i));
    case SQLITE_NULL:
        return QVariant();
    default: {
        // Text is stored as UTF-8; Qt's own conversion is faster than asking SQLite for UTF-16.
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
        const int bytes = sqlite3_column_bytes(stmt, i);
        return QVariant(QString::fromUtf8(p, bytes));
    }
    }
}

// A whole number as typed: an optional sign and digits, blanks around allowed.
std::optional<qlonglong> wholeNumber(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^[+-]?\\d+$"));
    const QString t = text.trimmed();
    if (!re.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

bool isNumber(const QVariant &v)
{
    const int t = v.typeId();
    return t == QMetaType::LongLong || t == QMetaType::Double || t == QMetaType::Int;
}

// One sort term's key of one row: nulls first, then numbers, then texts.
struct SortKey {
    int rank = 0;
    double number = 0;
    QString folded;
    QString raw;
};

int compareKeys(const SortKey &a, const SortKey &b)
{
    if (a.rank != b.rank)
        return a.rank < b.rank ? -1 : 1;
    if (a.rank == 1)
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    if (a.rank == 2) {
        const int c = a.folded.compare(b.folded);
        if (c != 0)
            return c;
        return a.raw.compare(b.raw);
    }
    return 0;
}

} // namespace

RecordSet::RecordSet(Connection &connection, QObject *parent)
    : QObject(parent)
    , m_connection(connection)
{}

RecordSet::~RecordSet() = default;

void RecordSet::close()
{
    if (m_state == State::Closed && m_rows.empty())
        return;
    emit aboutToReset();
    m_rows.clear();
    m_columns.clear();
    m_current = -1;
    m_table.clear();
    m_sortText.clear();
    m_modified = false;
    m_unsettled = false;
    setState(State::Closed);
    emit reset();
}

QStringList RecordSet::fieldNames() const
{
    QStringList out;
    for (const ColumnInfo &c : m_columns)
        out << c.name;
    return out;
}

int RecordSet::fieldIndex(const QString &name) const
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

void RecordSet::loadFromServer(const QString &sql, const QString &sourceTable,
                               const QString &shownSql)
{
    ServerSession &server = *m_connection.server();
    ServerSession::Result result;
    try {
        result = server.run(sql);
    } catch (const DbError &e) {
        throw e.withSql(shownSql);
    }
    const int first = sourceTable.isEmpty() ? 0 : 1;
    std::vector<ColumnInfo> columns;
    std::vector<int> kept; // result columns shown: the tables' own key column is not
    for (int i = first; i < int(result.columns.size()); ++i) {
        const ServerSession::Column &c = result.columns[size_t(i)];
        const QString origin = server.columnName(c.table, c.tableColumn);
        if (origin == QLatin1String("rowid"))
            continue;
        ColumnInfo info;
        info.name = nameAsWritten(c.name, shownSql);
        info.originTable = server.tableName(c.table).toUpper();
        info.originColumn = origin.toUpper();
        describeServer(info, c);
        columns.push_back(info);
        kept.push_back(i);
    }
    std::vector<Row> rows;
    rows.reserve(result.rows.size());
    for (std::vector<QVariant> &values : result.rows) {
        Row row;
        if (first)
            row.rowid = values[0].toLongLong();
        row.values.reserve(kept.size());
        for (const int i : kept)
            row.values.push_back(std::move(values[size_t(i)]));
        rows.push_back(std::move(row));
    }
    show(std::move(columns), std::move(rows), sourceTable);
}

void RecordSet::show(std::vector<ColumnInfo> columns, std::vector<Row> rows,
                     const QString &sourceTable)
{
    emit aboutToReset();
    m_columns = std::move(columns);
    m_rows = std::move(rows);
    m_table = sourceTable;
    m_current = m_rows.empty() ? -1 : 0;
    m_modified = false;
    m_state = State::Browse;
    emit stateChanged(m_state);
    emit reset();
    emit currentChanged(m_current);
}

void RecordSet::load(const QString &sql, const QString &sourceTable, const QString &shownSql)
{
    close();
    if (m_connection.server()) {
        loadFromServer(sql, sourceTable, shownSql);
        return;
    }
    PreparedStatement statement;
    try {
        statement = m_connection.prepare(sql);
    } catch (const DbError &e) {
        throw e.withSql(shownSql);
    }
    sqlite3_stmt *stmt = statement.get();
    const int count = sqlite3_column_count(stmt);
    const int first = sourceTable.isEmpty() ? 0 : 1;
    // A window reads the same shape of rows again and again (the month view one query per
    // day): a column described as the one at the same place last time is taken from there.
    struct KnownColumn {
        QByteArray name, table, origin, declared;
        ColumnInfo info;
    };
    thread_local std::vector<KnownColumn> known;
    std::vector<ColumnInfo> columns;
    columns.reserve(size_t(std::max(0, count - first)));
    for (int i = first; i < count; ++i) {
        const RawColumn raw {sqlite3_column_name(stmt, i), sqlite3_column_table_name(stmt, i),
                             sqlite3_column_origin_name(stmt, i), sqlite3_column_decltype(stmt, i)};
        const size_t at = size_t(i - first);
        if (at < known.size() && same(known[at].name, raw.name) && same(known[at].table, raw.table)
            && same(known[at].origin, raw.origin) && same(known[at].declared, raw.declared)) {
            columns.push_back(known[at].info);
            continue;
        }
        ColumnInfo info;
        info.name = textOf(raw.name);
        info.originTable = textOf(raw.table);
        info.originColumn = textOf(raw.origin);
        describe(info, raw.declared);
        if (at >= known.size())
            known.resize(at + 1);
        known[at] = {keep(raw.name), keep(raw.table), keep(raw.origin), keep(raw.declared), info};
        columns.push_back(info);
    }
    std::vector<Row> rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        Row row;
        if (first)
            row.rowid = sqlite3_column_int64(stmt, 0);
        row.values.reserve(columns.size());
        for (int i = first; i < count; ++i)
            row.values.push_back(columnValue(stmt, i));
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        m_connection.fail(shownSql);
    statement.release();
    show(std::move(columns), std::move(rows), sourceTable);
}

QVariant RecordSet::value(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    if (row == m_current && (m_state == State::Edit || m_state == State::Insert))
        return m_pending.values[size_t(column)];
    return m_rows[size_t(row)].values[size_t(column)];
}

QString RecordSet::text(int row, int column) const
{
    const QVariant v = value(row, column);
    if (v.isNull() || !v.isValid())
        return {};
    const ColumnKind kind = m_columns[size_t(column)].kind;
    if (kind == ColumnKind::Date && v.typeId() == QMetaType::QString) {
        const QString s = v.toString();
        const QDate d = QDate::fromString(s.left(10), Qt::ISODate);
        return d.isValid() ? SqlText::dateText(d) : s;
    }
    if (v.typeId() == QMetaType::QDate)
        return SqlText::dateText(v.toDate());
    if (kind == ColumnKind::YesNo && isNumber(v))
        return v.toLongLong() != 0 ? QStringLiteral("True") : QStringLiteral("False");
    if (v.typeId() == QMetaType::Double) {
        // Shown as typed: with the system's decimal separator.
        QString number = SqlText::number(v.toDouble());
        const QChar separator = Decimal::systemSeparator();
        if (separator != QLatin1Char('.'))
            number.replace(QLatin1Char('.'), separator);
        return number;
    }
    return v.toString();
}

void RecordSet::setCurrentRow(int row)
{
    if (m_rows.empty())
        return;
    row = std::clamp(row, 0, rowCount() - 1);
    if (row == m_current)
        return;
    if (m_state == State::Edit || m_state == State::Insert) {
        // Moving away from a changed row writes it, as a data-aware form does.
        if (m_modified)
            post();
        else
            cancel();
        row = std::clamp(row, 0, rowCount() - 1);
    }
    m_current = row;
    emit currentChanged(m_current);
}

void RecordSet::first()
{
    setCurrentRow(0);
}
void RecordSet::last()
{
    setCurrentRow(rowCount() - 1);
}
void RecordSet::next()
{
    setCurrentRow(m_current + 1);
}
void RecordSet::prior()
{
    setCurrentRow(m_current - 1);
}

QVariant RecordSet::fieldValue(int column) const
{
    return value(m_current, column);
}

QVariant RecordSet::fieldValue(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("Item cannot be found in the collection corresponding to "
                                     "the requested name or ordinal: %1")
                          .arg(name));
    return fieldValue(i);
}

QString RecordSet::fieldText(int column) const
{
    return text(m_current, column);
}

QString RecordSet::fieldText(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("Item cannot be found in the collection corresponding to "
                                     "the requested name or ordinal: %1")
                          .arg(name));
    return fieldText(i);
}

void RecordSet::sort(const QString &sortText)
{
    if (m_state == State::Closed)
        throw DbError(QStringLiteral("Operation is not allowed when the object is closed."));
    if (m_state != State::Browse)
        throw DbError(QStringLiteral("Operation is not allowed in this context."));
    struct Term {
        int column;
        bool descending;
    };
    std::vector<Term> terms;
    const QStringList parts = sortText.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        QStringList words = part.simplified().split(QLatin1Char(' '));
        bool descending = false;
        if (words.size() > 1) {
            const QString dir = words.last().toUpper();
            if (dir == QLatin1String("DESC") || dir == QLatin1String("ASC")) {
                descending = dir == QLatin1String("DESC");
                words.removeLast();
            }
        }
        QString name = words.join(QLatin1Char(' '));
        if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
            name = name.mid(1, name.size() - 2);
        const int column = fieldIndex(name);
        if (column < 0)
            throw DbError(QStringLiteral("Item cannot be found in the collection corresponding "
                                         "to the requested name or ordinal: %1")
                              .arg(name));
        terms.push_back({column, descending});
    }

    const size_t n = m_rows.size();
    std::vector<std::vector<SortKey>> keys(terms.size(), std::vector<SortKey>(n));
    for (size_t t = 0; t < terms.size(); ++t) {
        for (size_t r = 0; r < n; ++r) {
            const QVariant &v = m_rows[r].values[size_t(terms[t].column)];
            SortKey &k = keys[t][r];
            if (v.isNull() || !v.isValid()) {
                k.rank = 0;
            } else if (isNumber(v)) {
                k.rank = 1;
                k.number = v.toDouble();
            } else {
                k.rank = 2;
                k.raw = v.toString();
                k.folded = GreekText::fold(k.raw);
            }
        }
    }
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        for (size_t t = 0; t < terms.size(); ++t) {
            int c = compareKeys(keys[t][a], keys[t][b]);
            if (terms[t].descending)
                c = -c;
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    std::vector<Row> sorted;
    sorted.reserve(n);
    int newCurrent = -1;
    for (size_t i = 0; i < n; ++i) {
        if (int(order[i]) == m_current)
            newCurrent = int(i);
        sorted.push_back(std::move(m_rows[order[i]]));
    }
    emit aboutToReset();
    m_rows = std::move(sorted);
    m_sortText = sortText;
    m_current = newCurrent;
    emit reset();
    emit currentChanged(m_current);
}

void RecordSet::requireBrowseOrEdit() const
{
    if (m_state == State::Closed)
        throw DbError(QStringLiteral("Operation is not allowed when the object is closed."));
    if (!isUpdatable())
        throw DbError(QStringLiteral("Current Recordset does not support updating. This may be "
                                     "a limitation of the provider, or of the selected locktype."));
}

void RecordSet::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void RecordSet::insert()
{
    requireBrowseOrEdit();
    settleBeforeChange();
    if (m_state != State::Browse) {
        if (m_modified)
            post();
        else
            cancel();
    }
    // The entry starts: its registration token is made now and kept until it is registered.
    if (m_registers)
        m_token = Registration::newToken();
    m_unsettled = false;
    Row row;
    row.values.resize(m_columns.size());
    const int at = rowCount();
    emit aboutToInsertRow(at);
    m_rows.push_back(row);
    m_pending = row;
    m_modified = false;
    m_current = at;
    m_state = State::Insert;
    emit rowInserted(at);
    emit stateChanged(m_state);
    emit currentChanged(m_current);
}

void RecordSet::edit()
{
    requireBrowseOrEdit();
    if (m_state != State::Browse)
        return;
    if (m_rows.empty()) {
        insert();
        return;
    }
    m_pending = m_rows[size_t(m_current)];
    m_modified = false;
    setState(State::Edit);
}

void RecordSet::setFieldValue(const QString &name, const QVariant &value)
{
    const int column = fieldIndex(name);
    if (column < 0)
        throw DbError(QStringLiteral("Item cannot be found in the collection corresponding to "
                                     "the requested name or ordinal: %1")
                          .arg(name));
    if (m_state == State::Browse)
        edit();
    requireBrowseOrEdit();
    if (m_columns[size_t(column)].originColumn.isEmpty())
        throw DbError(QStringLiteral("Field '%1' cannot be updated.").arg(name));
    // A row whose registration is unsettled is looked up before it changes: found written,
    // the change goes to the registered row.
    if (settleBeforeChange() && m_state == State::Browse)
        edit();
    m_pending.values[size_t(column)] = value;
    m_modified = true;
    emit rowChanged(m_current);
}

QVariant RecordSet::converted(int column, const QVariant &value) const
{
    const ColumnInfo &info = m_columns[size_t(column)];
    if (value.isNull() || !value.isValid())
        return {};
    const bool isText = value.typeId() == QMetaType::QString;
    const QString text = value.toString();
    if (isText && text.trimmed().isEmpty() && info.kind != ColumnKind::Memo
        && info.kind != ColumnKind::Text)
        return {};
    switch (info.kind) {
    case ColumnKind::Date: {
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().toString(Qt::ISODate);
        if (const auto d = SqlText::parseDate(text))
            return d->toString(Qt::ISODate);
        const QDate iso = QDate::fromString(text.trimmed(), Qt::ISODate);
        if (iso.isValid())
            return iso.toString(Qt::ISODate);
        throw DbError(QStringLiteral("'%1' is not a valid date").arg(text));
    }
    case ColumnKind::Number: {
        if (isNumber(value) && std::isfinite(value.toDouble()))
            return value.toDouble();
        // A typed number has the system's decimal separator; a double holds its 15 digits.
        if (const auto v = Decimal::read(text))
            return v->toDouble();
        throw DbError(QStringLiteral("Η τιμή '%1' δεν είναι έγκυρος αριθμός.").arg(text));
    }
    case ColumnKind::Integer:
    case ColumnKind::Counter: {
        if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
            return value.toLongLong();
        if (value.typeId() == QMetaType::Double) {
            const double d = value.toDouble();
            if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.0e15)
                return qlonglong(d);
        } else if (const auto v = wholeNumber(text)) {
            return *v;
        }
        throw DbError(QStringLiteral("Η τιμή '%1' δεν είναι έγκυρος ακέραιος αριθμός.").arg(text));
    }
    case ColumnKind::YesNo: {
        if (value.typeId() == QMetaType::Bool || isNumber(value))
            return value.toLongLong() != 0 ? 1 : 0;
        const QString t = text.trimmed().toLower();
        if (t == QLatin1String("true") || t == QLatin1String("1"))
            return 1;
        if (t == QLatin1String("false") || t == QLatin1String("0"))
            return 0;
        throw DbError(QStringLiteral("'%1' is not a valid boolean value").arg(text));
    }
    case ColumnKind::Text:
    case ColumnKind::Memo:
        if (text.isEmpty())
            return {};
        if (info.width > 0 && text.size() > info.width)
            throw DbError(QStringLiteral("The field is too small to accept the amount of data "
                                         "you attempted to add. Try inserting or pasting less "
                                         "data."));
        return text;
    case ColumnKind::Unknown:
        break;
    }
    return value;
}

void RecordSet::reread(Row &row)
{
    QStringList names;
    std::vector<int> columns;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (!m_columns[i].originColumn.isEmpty()) {
            names << m_connection.quoteName(m_columns[i].originColumn);
            columns.push_back(int(i));
        }
    }
    if (names.isEmpty())
        return;
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                            .arg(names.join(QLatin1Char(',')), m_connection.quoteName(m_table),
                                 rowKey(m_connection));
    if (ServerSession *server = m_connection.server()) {
        const ServerSession::Result r = server->run(sql, {row.rowid});
        if (!r.rows.empty()) {
            for (size_t k = 0; k < columns.size(); ++k)
                row.values[size_t(columns[k])] = r.rows[0][k];
        }
        return;
    }
    const PreparedStatement stmt = m_connection.prepare(sql, {row.rowid});
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_ROW) {
        for (size_t k = 0; k < columns.size(); ++k)
            row.values[size_t(columns[k])] = columnValue(stmt.get(), int(k));
    } else if (rc != SQLITE_DONE) {
        m_connection.fail(sql);
    }
}

void RecordSet::post()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    requireBrowseOrEdit();
    Row &stored = m_rows[size_t(m_current)];
    QStringList names;
    QVariantList values;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const ColumnInfo &info = m_columns[i];
        if (info.originColumn.isEmpty())
            continue;
        const QVariant before = m_state == State::Insert ? QVariant() : stored.values[i];
        const QVariant &after = m_pending.values[i];
        if (m_state == State::Edit && before == after && before.typeId() == after.typeId())
            continue;
        if (m_state == State::Insert && (after.isNull() || !after.isValid()))
            continue;
        names << m_connection.quoteName(info.originColumn);
        values << converted(int(i), after);
    }
    Row written = m_pending;
    if (m_state == State::Insert) {
        QString sql;
        const QString table = m_connection.quoteName(m_table);
        if (names.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table);
        } else {
            QStringList marks;
            for (int i = 0; i < names.size(); ++i)
                marks << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        }
        if (m_registers) {
            if (!insertRegistered(sql, values, written))
                return; // found written by an earlier try: shown as posted
        } else {
            written.rowid = insertRow(sql, values);
        }
    } else if (!names.isEmpty()) {
        QStringList sets;
        for (const QString &name : names)
            sets << name + QStringLiteral(" = ?");
        values << stored.rowid;
        m_connection.executeNative(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                       .arg(m_connection.quoteName(m_table),
                                            sets.join(QLatin1Char(',')), rowKey(m_connection)),
                                   values);
    }
    finishPost(std::move(written));
}

qint64 RecordSet::insertRow(const QString &sql, const QVariantList &values)
{
    if (ServerSession *server = m_connection.server()) {
        const ServerSession::Result r
            = server->run(sql + QStringLiteral(" RETURNING rowid"), values);
        return r.rows.empty() ? 0 : r.rows[0][0].toLongLong();
    }
    m_connection.executeNative(sql, values);
    return sqlite3_last_insert_rowid(m_connection.handle());
}

bool RecordSet::insertRegistered(const QString &sql, const QVariantList &values, Row &written)
{
    // An earlier try whose commit answer was lost is looked up before anything is written.
    if (m_unsettled && settle())
        return false;
    if (m_unsettled)
        throw DbError(DbTexts::kRegistrationUnknown, sql, ServerSession::lostCode(),
                      DbError::Kind::OutcomeUnknown);
    try {
        Transaction transaction(m_connection);
        written.rowid = insertRow(sql, values);
        Registration::record(m_connection, m_token, m_table, QString::number(written.rowid));
        transaction.commit();
    } catch (const DbError &e) {
        if (!e.outcomeUnknown())
            throw;
        m_unsettled = true;
        if (settle())
            return false;
        if (m_unsettled)
            throw DbError(DbTexts::kRegistrationUnknown, e.sql(), e.code(),
                          DbError::Kind::OutcomeUnknown);
        throw DbError(DbTexts::kLost + QLatin1Char(' ') + DbTexts::kNotWritten, e.sql(), e.code(),
                      DbError::Kind::NotWritten);
    }
    m_token = Registration::newToken();
    return true;
}

bool RecordSet::settle()
{
    if (!m_unsettled)
        return false;
    m_lastLookUp.start();
    const Registration::Lookup found = Registration::lookUp(m_connection, m_token);
    if (found.state == Registration::Lookup::State::Unknown)
        return false;
    m_unsettled = false;
    if (found.state == Registration::Lookup::State::NotWritten)
        return false;
    // Written: the pending row is the row the token names, as a successful post leaves it.
    m_token = Registration::newToken();
    if (m_state != State::Insert)
        return true;
    Row written = m_pending;
    written.rowid = found.key.toLongLong();
    finishPost(std::move(written));
    return true;
}

bool RecordSet::settleBeforeChange()
{
    if (!m_unsettled)
        return false;
    // While the database cannot be reached, the look-up is tried again every few seconds at
    // most, so that typing does not wait for it at each key.
    if (m_lastLookUp.isValid() && m_lastLookUp.elapsed() < kLookUpPauseMs)
        return false;
    return settle();
}

void RecordSet::finishPost(Row written)
{
    Row &stored = m_rows[size_t(m_current)];
    // The row is written: whatever the re-read gives, the set shows the row as stored and the
    // edit is over, so that posting again cannot write it twice. A failed re-read is raised.
    std::optional<DbError> rereadFailure;
    try {
        reread(written);
    } catch (const DbError &e) {
        rereadFailure = e;
    }
    stored = std::move(written);
    m_modified = false;
    setState(State::Browse);
    emit rowChanged(m_current);
    if (rereadFailure)
        throw *rereadFailure;
}

void RecordSet::cancel()
{
    settleBeforeChange();
    if (m_state == State::Insert) {
        m_modified = false;
        removeRow(m_current);
        emit stateChanged(m_state);
        emit currentChanged(m_current);
        return;
    }
    if (m_state == State::Edit) {
        m_modified = false;
        setState(State::Browse);
        emit rowChanged(m_current);
    }
}

void RecordSet::deleteCurrent()
{
    requireBrowseOrEdit();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_current < 0)
        throw DbError(QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                     "deleted. Requested operation requires a current record."));
    if (m_state == State::Edit)
        cancel();
    const int row = m_current;
    m_connection.executeNative(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                                   .arg(m_connection.quoteName(m_table), rowKey(m_connection)),
                               {m_rows[size_t(row)].rowid});
    removeRow(row);
    emit currentChanged(m_current);
}

void RecordSet::removeRow(int row)
{
    // Views move their selection off a row about to go, which moves the current row: by then
    // the set must be browsing, or the move would cancel the insert a second time.
    m_state = State::Browse;
    emit aboutToRemoveRow(row);
    m_rows.erase(m_rows.begin() + row);
    m_current = std::min(row, rowCount() - 1);
    emit rowRemoved(row);
}

namespace {

// How a query text is run: its translation, and for a SELECT of plain rows from one table the
// same statement asking for each row's rowid too, so that its rows can be edited like a
// table's. Windows run the same texts again and again (the month view runs one per day shown),
// so plans are kept by text.
struct QueryPlan {
    QString translated;
    QString withRowid; // empty when the rows cannot be edited
    QString table;
};

QueryPlan makePlan(const QString &jet, Engine engine)
{
    QueryPlan plan;
    plan.translated = Dialect::translate(jet, engine, Decimal::systemSeparator());
    static const QRegularExpression single(
        QStringLiteral("^\\s*SELECT\\s+(?!DISTINCT\\b)(.*?)\\s+FROM\\s+\"?(\\w+)\"?\\s*"
                       "(?:WHERE\\b.*|ORDER\\s+BY\\b.*)?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression aggregate(
        QStringLiteral(
            "\\b(COUNT|SUM|AVG|MIN|MAX)\\s*\\(|\\bGROUP\\s+BY\\b|\\bJOIN\\b|\\bUNION\\b"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression select(QStringLiteral("SELECT\\s+"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = single.match(plan.translated);
    if (m.hasMatch() && !aggregate.match(plan.translated).hasMatch()) {
        const qsizetype afterSelect = plan.translated.indexOf(select) + 6;
        plan.withRowid = plan.translated.left(afterSelect)
            + QStringLiteral(" %1 AS \"%2\", ")
                  .arg(engine == Engine::PostgreSQL ? QStringLiteral("rowid")
                                                    : QStringLiteral("_rowid_"),
                       QLatin1String(kRowidColumn))
            + plan.translated.mid(afterSelect);
        plan.table = m.captured(2);
        // Rows that sort alike come from the file in the order they were written; a server
        // gives them in no set order, so there they are ordered by their key after the terms.
        static const QRegularExpression orderBy(
            QStringLiteral("\\bORDER\\s+BY\\b(?!.*\\b(LIMIT|"
                           "OFFSET|FOR)\\b)"),
            QRegularExpression::CaseInsensitiveOption
                | QRegularExpression::DotMatchesEverythingOption);
        if (engine == Engine::PostgreSQL && orderBy.match(plan.withRowid).hasMatch())
            plan.withRowid += QStringLiteral(", rowid");
    }
    return plan;
}

QueryPlan planFor(const QString &jet, Engine engine)
{
    static QMutex lock;
    static QCache<QString, QueryPlan> plans[2]
        = {QCache<QString, QueryPlan>(512), QCache<QString, QueryPlan>(512)};
    QCache<QString, QueryPlan> &cache = plans[engine == Engine::PostgreSQL ? 1 : 0];
    {
        const QMutexLocker locked(&lock);
        if (const QueryPlan *plan = cache.object(jet))
            return *plan;
    }
    // A text that does not translate throws and is not kept.
    QueryPlan plan = makePlan(jet, engine);
    const QMutexLocker locked(&lock);
    cache.insert(jet, new QueryPlan(plan));
    return plan;
}

} // namespace

void Query::open()
{
    const QString jet = sql();
    const QueryPlan plan = planFor(jet, connection().engine());
    // On a server a failed statement spoils an open transaction, so no second try is made there
    // (the server's tables are all plain tables).
    const bool mayRetry = !connection().server() || !connection().server()->inTransaction();
    if (!plan.withRowid.isEmpty() && !mayRetry) {
        load(plan.withRowid, plan.table, jet);
        return;
    }
    if (!plan.withRowid.isEmpty()) {
        try {
            load(plan.withRowid, plan.table, jet);
            return;
        } catch (const DbError &) {
            // Not a plain table (a view, say): read it as it was written.
        }
    }
    load(plan.translated, QString(), jet);
}

void Table::open()
{
    load(QStringLiteral("SELECT %1 AS \"%2\", * FROM %3")
             .arg(rowKey(connection()), QLatin1String(kRowidColumn),
                  connection().quoteName(m_name)),
         m_name, QStringLiteral("SELECT * FROM %1").arg(m_name));
}

int Command::execute()
{
    return m_connection.execute(m_sql);
}
