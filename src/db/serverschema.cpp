// The practice database on a PostgreSQL server: the same tables as data.mdb, and the functions
// the windows' SQL calls that the file's engine gets from the program itself.
#include "dberror.h"
#include "greektext.h"
#include "schema.h"
#include "serversession.h"

namespace Schema {

namespace {

// Every character that GreekText::fold turns into one other character, and what it becomes:
// the two strings of the server's translate() that folds a text the same way.
QPair<QString, QString> foldTable()
{
    QString from, to;
    const auto add = [&](char32_t first, char32_t last) {
        for (char32_t c = first; c <= last; ++c) {
            const QString one = QString::fromUcs4(&c, 1);
            const QString folded = GreekText::fold(one);
            if (folded != one && folded.size() == 1 && one.size() == 1) {
                from += one;
                to += folded;
            }
        }
    };
    add(0x20, 0x24F);    // Latin
    add(0x370, 0x3FF);   // Greek and Coptic
    add(0x400, 0x4FF);   // Cyrillic
    add(0x1F00, 0x1FFF); // Greek Extended (polytonic)
    return {from, to};
}

QString literal(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

} // namespace

QStringList serverFunctionStatements()
{
    return {
        // Greek alphabetical order as the program sorts in memory: letters compared without
        // case and accents (ICU's first level), Latin before Greek before symbols; texts equal
        // at that level are ordered by their characters, as the server does for a
        // deterministic collation.
        QStringLiteral("CREATE COLLATION orv_greek (provider = icu, locale = "
                       "'und-u-ks-level1-kr-latn-grek-symbol')"),
        QStringLiteral("CREATE FUNCTION day(date) RETURNS integer LANGUAGE sql IMMUTABLE STRICT "
                       "AS 'SELECT extract(day FROM $1)::integer'"),
        QStringLiteral("CREATE FUNCTION month(date) RETURNS integer LANGUAGE sql IMMUTABLE STRICT "
                       "AS 'SELECT extract(month FROM $1)::integer'"),
        QStringLiteral("CREATE FUNCTION year(date) RETURNS integer LANGUAGE sql IMMUTABLE STRICT "
                       "AS 'SELECT extract(year FROM $1)::integer'"),
        // Format(number, "0.00"): halves away from zero, as numeric rounding does; a double
        // reaches numeric through its 15 significant digits, so 1.005 is 1.01 as in the file.
        QStringLiteral(
            "CREATE FUNCTION orv_format(double precision, text) RETURNS text LANGUAGE sql "
            "IMMUTABLE STRICT AS $$SELECT CASE WHEN $2 ~ '^[0#.]+$' THEN round($1::numeric, "
            "CASE WHEN strpos($2, '.') > 0 THEN length($2) - strpos($2, '.') ELSE 0 END)::text "
            "ELSE $1::text END$$"),
        QStringLiteral(
            "CREATE FUNCTION orv_format(date, text) RETURNS text LANGUAGE sql IMMUTABLE STRICT "
            "AS $$SELECT to_char($1, replace(replace(replace($2, 'yyyy', 'YYYY'), 'dd', 'DD'), "
            "'mm', 'MM'))$$"),
    };
}

// orv_fold(), the server's GreekText::fold(): one translate() of every character the fold
// changes. translate() looks each character of a text up in its list from the start, so the
// characters of everyday Greek and Latin text come first, those the fold leaves alone as
// themselves: a capital or a space is found among the first few dozen, not after six hundred.
void createFold(ServerSession &session)
{
    QString from, to;
    const auto add = [&](char16_t first, char16_t last) {
        for (char16_t c = first; c <= last; ++c) {
            const QChar one(c);
            const QString folded = GreekText::fold(QString(one));
            if (from.contains(one) || folded.size() != 1)
                continue;
            from += one;
            to += folded;
        }
    };
    add(0x0391, 0x03A9); // Greek capitals
    add(0x03AC, 0x03CE); // Greek small letters, accented ones among them
    add(u' ', u' ');
    add(u'A', u'Z');
    add(u'a', u'z');
    add(u'0', u'9');
    add(0x0386, 0x0390); // accented capitals
    const QPair<QString, QString> rest = foldTable();
    for (qsizetype i = 0; i < rest.first.size(); ++i) {
        if (!from.contains(rest.first[i])) {
            from += rest.first[i];
            to += rest.second[i];
        }
    }
    session.run(QStringLiteral("CREATE FUNCTION orv_fold(text) RETURNS text LANGUAGE sql "
                               "IMMUTABLE STRICT PARALLEL SAFE AS $$SELECT translate($1, %1, %2)$$")
                    .arg(literal(from), literal(to)));
}

QStringList likeStatements()
{
    return {
        // LIKE on folded texts, with no escape character, as the file's like() reads it.
        QStringLiteral("CREATE FUNCTION orv_like(text, text) RETURNS boolean LANGUAGE sql "
                       "IMMUTABLE STRICT PARALLEL SAFE AS $$SELECT orv_fold($1) LIKE orv_fold($2) "
                       "ESCAPE ''$$"),
        QStringLiteral("CREATE FUNCTION orv_not_like(text, text) RETURNS boolean LANGUAGE sql "
                       "IMMUTABLE STRICT PARALLEL SAFE AS $$SELECT NOT orv_like($1, $2)$$"),
        QStringLiteral("CREATE OPERATOR ~~~ (LEFTARG = text, RIGHTARG = text, FUNCTION = "
                       "orv_like)"),
        QStringLiteral("CREATE OPERATOR !~~~ (LEFTARG = text, RIGHTARG = text, FUNCTION = "
                       "orv_not_like)"),
    };
}

void createServerTables(ServerSession &session, const QString &databasePassword)
{
    const ServerSession::Result existing = session.run(QStringLiteral(
        "SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
        "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'v', 'S')"));
    if (existing.rows.empty() || existing.rows[0][0].toLongLong() != 0)
        throw DbError(QStringLiteral("The server database is not empty: a practice database is "
                                     "created only in an empty one."));
    for (const QString &sql : serverFunctionStatements())
        session.run(sql);
    createFold(session);
    for (const QString &sql : likeStatements())
        session.run(sql);
    for (const QString &sql : createStatements(Engine::PostgreSQL))
        session.run(sql);
    session.run(QStringLiteral("INSERT INTO orvanta_file VALUES ('application', 'Orvanta')"));
    session.run(QStringLiteral("INSERT INTO orvanta_file VALUES ('password', ?)"),
                {databasePassword});
    session.run(QStringLiteral("INSERT INTO security (password) VALUES (?)"),
                {QLatin1String(kFactoryPassword)});
}

void createServerDatabase(const QString &serverConnection, const QString &databasePassword)
{
    ServerSession session(serverConnection);
    session.run(QStringLiteral("BEGIN"));
    try {
        createServerTables(session, databasePassword);
        session.run(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            session.run(QStringLiteral("ROLLBACK"));
        } catch (const DbError &) {}
        throw;
    }
}

} // namespace Schema
