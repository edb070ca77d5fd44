#include "serversession.h"

#include "dberror.h"
#include "dbtexts.h"

#include <QLoggingCategory>
#include <QMutex>
#include <QRegularExpression>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcSql)

namespace {

// Type oids of the server's catalogue (pg_type.dat).
enum : unsigned {
    kBool = 16,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kFloat4 = 700,
    kFloat8 = 701,
    kNumeric = 1700,
};

// The SQLite result code that the windows test for the same failure.
int codeFor(const char *state)
{
    const QByteArray s(state ? state : "");
    if (s == "23505")
        return SQLITE_CONSTRAINT_UNIQUE;
    if (s == "23502")
        return SQLITE_CONSTRAINT_NOTNULL;
    if (s == "23514" || s == "22001")
        return SQLITE_CONSTRAINT_CHECK;
    if (s == "23503")
        return SQLITE_CONSTRAINT_FOREIGNKEY;
    if (s.startsWith("23"))
        return SQLITE_CONSTRAINT;
    if (s == "53100")
        return SQLITE_FULL;
    if (s == "25006" || s == "42501")
        return SQLITE_READONLY;
    if (s == "55P03" || s == "40P01" || s == "40001" || s == "57014")
        return SQLITE_BUSY;
    if (s == "28P01" || s == "28000")
        return SQLITE_AUTH;
    if (s == "3D000")
        return SQLITE_CANTOPEN;
    if (s.startsWith("08") || s.startsWith("57P"))
        return SQLITE_IOERR;
    return SQLITE_ERROR;
}

QString serverText(const char *p)
{
    return QString::fromUtf8(p ? p : "").trimmed();
}

// `?` marks outside quotes become $1, $2, ... as the server numbers its parameters.
QByteArray numbered(const QString &sql)
{
    QString out;
    out.reserve(sql.size() + 8);
    int n = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++n);
            continue;
        }
        out += c;
    }
    return out.toUtf8();
}

QByteArray parameterText(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? "1" : "0";
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(v.toDouble(), 'g', 17);
    default:
        return v.toString().toUtf8();
    }
}

QVariant valueOf(const PGresult *r, int row, int column)
{
    if (PQgetisnull(r, row, column))
        return {};
    const char *p = PQgetvalue(r, row, column);
    switch (PQftype(r, column)) {
    case kInt2:
    case kInt4:
    case kInt8:
        return QVariant(QByteArrayView(p).toLongLong());
    case kBool:
        return QVariant(qlonglong(p[0] == 't' ? 1 : 0));
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return QVariant(QByteArrayView(p).toDouble());
    default:
        return QVariant(QString::fromUtf8(p, PQgetlength(r, row, column)));
    }
}

// The texts of one result column that repeat from row to row (a sex, a fund, a first name, a
// date) are made once and shared: a shared text costs a reference where a new one costs an
// allocation, a decoding and, later, a free. A column whose texts mostly differ (addresses,
// telephones) stops being looked at after its first rows.
class RepeatedTexts {
public:
    QVariant value(const PGresult *r, int row, int column)
    {
        if (m_givenUp)
            return valueOf(r, row, column);
        if (PQgetisnull(r, row, column))
            return {};
        const QByteArrayView bytes(PQgetvalue(r, row, column), PQgetlength(r, row, column));
        if (bytes.size() > kLongest)
            return valueOf(r, row, column);
        const auto it = m_known.constFind(bytes);
        if (it != m_known.constEnd()) {
            ++m_hits;
            return it.value();
        }
        ++m_misses;
        if (m_misses > kTrial && m_misses > m_hits) {
            m_givenUp = true;
            m_known.clear();
            return valueOf(r, row, column);
        }
        QVariant made = valueOf(r, row, column);
        if (m_known.size() < kMostKept)
            m_known.insert(bytes, made); // the view points into the result, alive till the end
        return made;
    }

private:
    static constexpr qsizetype kLongest = 64;
    static constexpr int kTrial = 64;
    static constexpr qsizetype kMostKept = 4096;
    QHash<QByteArrayView, QVariant> m_known;
    int m_hits = 0;
    int m_misses = 0;
    bool m_givenUp = false;
};

struct ResultDeleter {
    void operator()(PGresult *r) const { PQclear(r); }
};
using ResultHandle = std::unique_ptr<PGresult, ResultDeleter>;

// The statement's first word.
QString verb(const QString &sql)
{
    const QString t = sql.trimmed();
    qsizetype end = 0;
    while (end < t.size() && t[end].isLetter())
        ++end;
    return t.left(end).toUpper();
}

} // namespace

bool ServerSession::isCommit(const QString &sql)
{
    const QString v = verb(sql);
    return v == QLatin1String("COMMIT") || v == QLatin1String("END");
}

bool ServerSession::isWrite(const QString &sql)
{
    static const QStringList writes = {
        QStringLiteral("INSERT"),   QStringLiteral("UPDATE"), QStringLiteral("DELETE"),
        QStringLiteral("CREATE"),   QStringLiteral("DROP"),   QStringLiteral("ALTER"),
        QStringLiteral("TRUNCATE"),
    };
    return writes.contains(verb(sql));
}

QString ServerSession::lostMessage()
{
    return DbTexts::kLost;
}

int ServerSession::lostCode()
{
    return SQLITE_IOERR;
}

ServerSession::ServerSession(const QString &connectionText)
    : m_connectionText(connectionText)
{
    connect();
}

ServerSession::~ServerSession()
{
    if (m_conn)
        PQfinish(m_conn);
}

void ServerSession::connect()
{
    if (m_conn)
        PQfinish(std::exchange(m_conn, nullptr));
    m_knownTables.clear();
    m_tablesSeenInTransaction.clear();
    PGconn *conn = PQconnectdb(securedConnectionText(m_connectionText).toUtf8().constData());
    if (!conn)
        throw DbError(lostMessage(), {}, lostCode(), DbError::Kind::Lost);
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString detail = serverText(PQerrorMessage(conn));
        PQfinish(conn);
        throw DbError(lostMessage() + QLatin1Char('\n') + detail, {}, lostCode(),
                      DbError::Kind::Lost);
    }
    // Texts travel as UTF-8 whatever the server's or the client's locale says.
    PQsetClientEncoding(conn, "UTF8");
    m_conn = conn;
}

QString ServerSession::securedConnectionText(const QString &connectionText)
{
    char *error = nullptr;
    PQconninfoOption *options = PQconninfoParse(connectionText.toUtf8().constData(), &error);
    if (!options) {
        // PQconnectdb says what is wrong with the text in its own words.
        PQfreemem(error);
        return connectionText;
    }
    QString hosts;
    bool sslmodeNamed = !qEnvironmentVariableIsEmpty("PGSSLMODE");
    for (PQconninfoOption *o = options; o->keyword; ++o) {
        if (!o->val || !*o->val)
            continue;
        const QByteArray keyword(o->keyword);
        if (keyword == "sslmode")
            sslmodeNamed = true;
        else if (keyword == "host" || keyword == "hostaddr")
            hosts += QLatin1Char(',') + QString::fromUtf8(o->val);
    }
    PQconninfoFree(options);
    if (hosts.isEmpty())
        hosts = qEnvironmentVariable("PGHOST");
    // A socket path, localhost or a loopback address stays on this computer.
    static const QRegularExpression loopback(QStringLiteral("^127\\.\\d+\\.\\d+\\.\\d+$"));
    const auto onThisComputer = [](const QString &host) {
        return loopback.match(host).hasMatch() || host.isEmpty() || host.startsWith(QLatin1Char('/'))
            || host.startsWith(QLatin1Char('@'))
            || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0
            || host == QLatin1String("::1");
    };
    bool acrossNetwork = false;
    for (const QString &host : hosts.split(QLatin1Char(','), Qt::SkipEmptyParts))
        acrossNetwork = acrossNetwork || !onThisComputer(host.trimmed());
    if (sslmodeNamed || !acrossNetwork)
        return connectionText;
    const QString text = connectionText.trimmed();
    if (text.startsWith(QLatin1String("postgres://")) || text.startsWith(QLatin1String("postgresql://")))
        return text + (text.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?'))
            + QLatin1String("sslmode=verify-full");
    return text + QLatin1String(" sslmode=verify-full");
}

void ServerSession::failLost(const QString &sql, const QString &detail)
{
    // The server may have committed before its answer was lost: a COMMIT, or a write that
    // commits by itself outside a transaction, has an outcome nobody here knows. Any other
    // statement of an open transaction takes the whole transaction with it.
    const bool ending = isCommit(sql);
    const bool writing = isWrite(sql);
    DbError::Kind kind = DbError::Kind::Lost;
    QString message = lostMessage();
    if ((ending && m_inTransaction) || (writing && !m_inTransaction)) {
        kind = DbError::Kind::OutcomeUnknown;
        message += QLatin1Char(' ') + DbTexts::kCommitUnknown;
    } else if (m_inTransaction && (m_transactionWrote || writing)) {
        kind = DbError::Kind::NotWritten;
        message += QLatin1Char(' ') + DbTexts::kNotWritten;
    }
    // A transaction open when the session went is gone with it: every later statement is
    // refused until it is rolled back. A COMMIT ended it either way.
    m_transactionLost = m_inTransaction && !ending;
    m_lostKind = kind == DbError::Kind::OutcomeUnknown ? DbError::Kind::Lost : kind;
    m_inTransaction = false;
    m_transactionWrote = false;
    if (m_conn)
        PQfinish(std::exchange(m_conn, nullptr));
    throw DbError(message + QLatin1Char('\n') + detail, sql, lostCode(), kind);
}

void ServerSession::noteTransaction(const QString &sql, bool committed)
{
    const bool open = PQtransactionStatus(m_conn) != PQTRANS_IDLE;
    m_transactionWrote = open && (m_transactionWrote || isWrite(sql));
    m_inTransaction = open;
    if (!open) {
        if (committed)
            m_knownTables.unite(m_tablesSeenInTransaction);
        m_tablesSeenInTransaction.clear();
    }
}

void ServerSession::noteTable(const QString &name)
{
    if (m_inTransaction || m_transactionLost)
        m_tablesSeenInTransaction.insert(name);
    else
        m_knownTables.insert(name);
}

bool ServerSession::inTransaction() const
{
    return m_transactionLost || m_inTransaction;
}

bool ServerSession::readyForReuse()
{
    if (m_transactionLost || !m_conn || PQstatus(m_conn) != CONNECTION_OK)
        return false;
    if (m_inTransaction || PQtransactionStatus(m_conn) != PQTRANS_IDLE) {
        try {
            run(QStringLiteral("ROLLBACK"));
        } catch (const DbError &) {
            return false;
        }
    }
    return m_conn && PQtransactionStatus(m_conn) == PQTRANS_IDLE;
}

ServerSession::Result ServerSession::run(const QString &sql, const QVariantList &values)
{
    const bool isRollback
        = sql.trimmed().compare(QLatin1String("ROLLBACK"), Qt::CaseInsensitive) == 0;
    if (m_transactionLost) {
        if (isRollback) {
            m_transactionLost = false;
            return {};
        }
        throw DbError(lostMessage(), sql, lostCode(), m_lostKind);
    }
    if (!m_conn || PQstatus(m_conn) == CONNECTION_BAD)
        connect();
    qCDebug(lcSql).noquote() << sql << values;

    const QByteArray text = numbered(sql);
    std::vector<QByteArray> held;
    std::vector<const char *> params;
    held.reserve(size_t(values.size())); // never grows: the pointers below stay valid
    for (const QVariant &v : values) {
        if (v.isNull() || !v.isValid()) {
            params.push_back(nullptr);
        } else {
            held.push_back(parameterText(v));
            // The server's texts cannot hold a NUL, and a value is sent up to its first one: a
            // text with one is refused rather than stored cut short.
            if (held.back().contains('\0'))
                throw DbError(QStringLiteral("A text with a NUL character cannot be stored."), sql,
                              SQLITE_CONSTRAINT_CHECK);
            params.push_back(held.back().constData());
        }
    }
    const ResultHandle r(PQexecParams(m_conn, text.constData(), int(params.size()), nullptr,
                                      params.data(), nullptr, nullptr, 0));
    if (!r || PQstatus(m_conn) == CONNECTION_BAD)
        failLost(sql, serverText(PQerrorMessage(m_conn)));
    const ExecStatusType status = PQresultStatus(r.get());
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        const char *state = PQresultErrorField(r.get(), PG_DIAG_SQLSTATE);
        const QString message = serverText(PQresultErrorField(r.get(), PG_DIAG_MESSAGE_PRIMARY));
        const int code = codeFor(state);
        if (code == SQLITE_IOERR)
            failLost(sql, message);
        // A table this session thought was there is not: what it remembers is asked again.
        if (qstrcmp(state, "42P01") == 0) {
            m_knownTables.clear();
            m_tablesSeenInTransaction.clear();
        }
        noteTransaction(sql);
        throw DbError(message.isEmpty() ? serverText(PQerrorMessage(m_conn)) : message, sql, code);
    }

    // A COMMIT of a transaction that had failed answers "ROLLBACK", without an error.
    noteTransaction(sql, qstrcmp(PQcmdStatus(r.get()), "COMMIT") == 0);
    if (qstrncmp(PQcmdStatus(r.get()), "DROP", 4) == 0) {
        m_knownTables.clear();
        m_tablesSeenInTransaction.clear();
    }

    Result result;
    const int columns = PQnfields(r.get());
    result.columns.reserve(size_t(columns));
    for (int c = 0; c < columns; ++c) {
        result.columns.push_back({QString::fromUtf8(PQfname(r.get(), c)), PQftable(r.get(), c),
                                  PQftablecol(r.get(), c), PQftype(r.get(), c),
                                  PQfmod(r.get(), c)});
    }
    const int rows = PQntuples(r.get());
    result.rows.reserve(size_t(rows));
    std::vector<RepeatedTexts> repeated(size_t(rows > 1 ? columns : 0));
    for (int row = 0; row < rows; ++row) {
        std::vector<QVariant> values;
        values.reserve(size_t(columns));
        for (int c = 0; c < columns; ++c)
            values.push_back(rows > 1 ? repeated[size_t(c)].value(r.get(), row, c)
                                      : valueOf(r.get(), row, c));
        result.rows.push_back(std::move(values));
    }
    result.changed = QByteArray(PQcmdTuples(r.get())).toInt();
    return result;
}

ServerSession::TableNames ServerSession::namesOf(unsigned table)
{
    // Names do not change while the program runs (the program never alters a table), and every
    // window's connection to the same database asks for the same ones: they are read once per
    // database and table, all columns of a table in one statement.
    static QMutex lock;
    static QHash<QString, QHash<unsigned, TableNames>> known;
    {
        const QMutexLocker locked(&lock);
        const auto database = known.constFind(m_connectionText);
        if (database != known.constEnd()) {
            const auto it = database->constFind(table);
            if (it != database->constEnd())
                return it.value();
        }
    }
    TableNames names;
    const Result r = run(QStringLiteral("SELECT c.relname, a.attnum, a.attname FROM pg_class c "
                                        "JOIN pg_attribute a ON a.attrelid = c.oid WHERE c.oid = ? "
                                        "AND a.attnum > 0 AND NOT a.attisdropped"),
                         {qlonglong(table)});
    for (const std::vector<QVariant> &row : r.rows) {
        names.table = row[0].toString();
        names.columns.insert(row[1].toInt(), row[2].toString());
    }
    const QMutexLocker locked(&lock);
    known[m_connectionText].insert(table, names);
    return names;
}

QString ServerSession::tableName(unsigned table)
{
    return table == 0 ? QString() : namesOf(table).table;
}

QString ServerSession::columnName(unsigned table, int column)
{
    return table == 0 || column <= 0 ? QString() : namesOf(table).columns.value(column);
}
