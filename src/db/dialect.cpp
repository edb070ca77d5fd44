#include "dialect.h"

#include <algorithm>
#include <vector>

#include "dberror.h"

#include <QDate>
#include <QList>
#include <QRegularExpression>
#include <QStringList>

namespace Dialect {

namespace {

enum class Tok { Word, Str, Ident, Space, Punct };

struct Token {
    Tok type;
    QString text;
};

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

QString sqlString(const QString &value, Engine engine)
{
    QString v = value;
    v.replace(QLatin1Char('\''), QLatin1String("''"));
    if (engine == Engine::PostgreSQL) {
        if (v.contains(QChar(0)))
            throw DbError(QStringLiteral("A text with a NUL character cannot be stored."));
        return QLatin1Char('\'') + v + QLatin1Char('\'');
    }
    // The engine reads a statement's text only up to a NUL character, so a NUL inside a value
    // would cut the statement short: it is joined in as char(0) instead.
    if (v.contains(QChar(0))) {
        v.replace(QChar(0), QLatin1String("'||char(0)||'"));
        return QLatin1String("('") + v + QLatin1String("')");
    }
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

QList<Token> tokenize(const QString &sql, Engine engine)
{
    QList<Token> out;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            qsizetype j = i;
            while (j < n && sql[j].isSpace())
                ++j;
            out.append({Tok::Space, sql.mid(i, j - i)});
            i = j;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A string literal; the same quote written twice stands for itself.
            QString value;
            qsizetype j = i + 1;
            bool closed = false;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        value += c;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                value += sql[j++];
            }
            if (!closed)
                throw DbError(QStringLiteral("Syntax error in string in query expression."), sql);
            out.append({Tok::Str, sqlString(value, engine)});
            i = j;
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = sql.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                throw DbError(QStringLiteral("Syntax error in query expression."), sql);
            QString name = sql.mid(i + 1, close - i - 1);
            if (engine == Engine::PostgreSQL)
                name = name.toLower();
            name.replace(QLatin1Char('"'), QLatin1String("\"\""));
            out.append({Tok::Ident, QLatin1Char('"') + name + QLatin1Char('"')});
            i = close + 1;
        } else if (c == QLatin1Char('#')) {
            const qsizetype close = sql.indexOf(QLatin1Char('#'), i + 1);
            const QString body = close < 0 ? QString() : sql.mid(i + 1, close - i - 1);
            const QString iso = isoFromLiteral(body);
            if (iso.isEmpty())
                throw DbError(QStringLiteral("Syntax error in date in query expression '%1'.")
                                  .arg(sql.mid(i, close < 0 ? n - i : close - i + 1)),
                              sql);
            if (engine == Engine::PostgreSQL)
                out.append({Tok::Str, QStringLiteral("DATE '%1'").arg(iso)});
            else
                out.append({Tok::Str, sqlString(iso, engine)});
            i = close + 1;
        } else if (isWordChar(c)) {
            qsizetype j = i;
            while (j < n && isWordChar(sql[j]))
                ++j;
            out.append({Tok::Word, sql.mid(i, j - i)});
            i = j;
        } else {
            out.append({Tok::Punct, QString(c)});
            ++i;
        }
    }
    return out;
}

bool isWord(const Token &t, const char *word)
{
    return t.type == Tok::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// Text in ORDER BY follows Greek alphabetical order: on the file every ordering term gets the
// GREEK collation (numbers and dates are unaffected by it); a server's text columns have their
// collation already, and there each term says where nulls go, first when ascending as the
// file puts them.
QList<Token> collateOrderBy(const QList<Token> &in, Engine engine)
{
    QList<Token> out;
    int depth = 0;
    qsizetype i = 0;
    const Token collate {Tok::Word, QStringLiteral(" COLLATE GREEK")};
    const bool server = engine == Engine::PostgreSQL;
    while (i < in.size()) {
        const Token &t = in[i];
        if (t.type == Tok::Punct && t.text == QLatin1String("("))
            ++depth;
        if (t.type == Tok::Punct && t.text == QLatin1String(")"))
            --depth;
        out.append(t);
        ++i;
        if (!isWord(t, "ORDER"))
            continue;
        qsizetype k = i;
        while (k < in.size() && in[k].type == Tok::Space)
            ++k;
        if (k >= in.size() || !isWord(in[k], "BY"))
            continue;
        for (; i <= k; ++i)
            out.append(in[i]);
        // Terms run to the end, to a closing bracket of an outer level, or to LIMIT.
        const int termDepth = depth;
        QList<Token> term;
        auto flush = [&]() {
            qsizetype last = term.size() - 1;
            while (last >= 0 && term[last].type == Tok::Space)
                --last;
            if (last < 0) {
                out.append(term);
                term.clear();
                return;
            }
            const bool directed = isWord(term[last], "ASC") || isWord(term[last], "DESC");
            if (server) {
                const bool descending = isWord(term[last], "DESC");
                term.insert(last + 1,
                            {Tok::Word,
                             descending ? QStringLiteral(" NULLS LAST")
                                        : QStringLiteral(" NULLS FIRST")});
                out.append(term);
                term.clear();
                return;
            }
            qsizetype insertAt = last + 1;
            if (directed) {
                insertAt = last;
                while (insertAt > 0 && term[insertAt - 1].type == Tok::Space)
                    --insertAt;
            }
            term.insert(insertAt, collate);
            out.append(term);
            term.clear();
        };
        int d = termDepth;
        while (i < in.size()) {
            const Token &u = in[i];
            if (u.type == Tok::Punct && u.text == QLatin1String("("))
                ++d;
            if (u.type == Tok::Punct && u.text == QLatin1String(")")) {
                if (d == termDepth)
                    break;
                --d;
            }
            if (d == termDepth
                && (isWord(u, "LIMIT") || (u.type == Tok::Punct && u.text == QLatin1String(";"))))
                break;
            if (d == termDepth && u.type == Tok::Punct && u.text == QLatin1String(",")) {
                flush();
                out.append(u);
                ++i;
                continue;
            }
            term.append(u);
            ++i;
        }
        flush();
    }
    return out;
}

qsizetype nextSolid(const QList<Token> &in, qsizetype from)
{
    while (from < in.size() && in[from].type == Tok::Space)
        ++from;
    return from;
}

// The closing bracket of the number format call whose FORMAT word is at `at`, when its last
// argument is a number format literal ('0.00'); -1 otherwise (dates, or a format computed).
qsizetype numberFormatEnd(const QList<Token> &in, qsizetype at)
{
    qsizetype lastArgument = -1;
    int depth = 0;
    for (qsizetype i = nextSolid(in, at + 1); i < in.size(); ++i) {
        const Token &t = in[i];
        if (t.type != Tok::Punct)
            continue;
        if (t.text == QLatin1String("(")) {
            if (++depth == 1)
                lastArgument = i + 1;
        } else if (t.text == QLatin1String(",") && depth == 1) {
            lastArgument = i + 1;
        } else if (t.text == QLatin1String(")") && --depth == 0) {
            qsizetype first = nextSolid(in, lastArgument);
            qsizetype last = i - 1;
            while (last > first && in[last].type == Tok::Space)
                --last;
            if (first != last || in[first].type != Tok::Str)
                return -1;
            static const QRegularExpression numberFormat(QStringLiteral("^'[0#.]+'$"));
            return numberFormat.match(in[first].text).hasMatch() ? i : -1;
        }
    }
    return -1;
}

// The server's spelling of what the file's engine does with functions of its own. A number
// formatted with Format comes with a point from the server; where the system's decimal
// separator is another character, the point is replaced by it, as the file's Format does.
QList<Token> forServer(const QList<Token> &in, QChar separator)
{
    QList<Token> out;
    out.reserve(in.size());
    std::vector<qsizetype> separatorEnds; // closing brackets after which the point is replaced
    for (qsizetype i = 0; i < in.size(); ++i) {
        const Token &t = in[i];
        if (t.type != Tok::Word) {
            out.append(t);
            if (!separatorEnds.empty() && separatorEnds.back() == i) {
                separatorEnds.pop_back();
                out.append({Tok::Punct,
                            QStringLiteral(", '.', %1)").arg(sqlString(separator, Engine::PostgreSQL))});
            }
            continue;
        }
        const qsizetype next = nextSolid(in, i + 1);
        const bool call = next < in.size() && in[next].type == Tok::Punct
            && in[next].text == QLatin1String("(");
        if (isWord(t, "TRUE")) {
            out.append({Tok::Word, QStringLiteral("1")});
        } else if (isWord(t, "FALSE")) {
            out.append({Tok::Word, QStringLiteral("0")});
        } else if (call && isWord(t, "FORMAT")) {
            const qsizetype end = separator != QLatin1Char('.') ? numberFormatEnd(in, i) : -1;
            if (end >= 0) {
                separatorEnds.push_back(end);
                out.append({Tok::Word, QStringLiteral("replace(orv_format")});
            } else {
                out.append({Tok::Word, QStringLiteral("orv_format")});
            }
        } else if (isWord(t, "LIKE")) {
            out.append({Tok::Punct, QStringLiteral("~~~")});
        } else if (isWord(t, "NOT") && next < in.size() && isWord(in[next], "LIKE")) {
            out.append({Tok::Punct, QStringLiteral("!~~~")});
            i = next;
        } else {
            out.append(t);
        }
    }
    return out;
}

// A trailing FOR UPDATE, which the file's engine does not know, is dropped.
void dropForUpdate(QList<Token> &tokens)
{
    qsizetype end = tokens.size();
    const auto back = [&]() {
        while (end > 0
               && (tokens[end - 1].type == Tok::Space
                   || (tokens[end - 1].type == Tok::Punct
                       && tokens[end - 1].text == QLatin1String(";"))))
            --end;
        return end - 1;
    };
    const qsizetype update = back();
    if (update < 0 || !isWord(tokens[update], "UPDATE"))
        return;
    end = update;
    const qsizetype forWord = back();
    if (forWord < 0 || !isWord(tokens[forWord], "FOR"))
        return;
    tokens.erase(tokens.begin() + forWord, tokens.end());
    while (!tokens.isEmpty() && tokens.last().type == Tok::Space)
        tokens.removeLast();
}

} // namespace

QString isoFromLiteral(const QString &body)
{
    const QStringList parts = body.trimmed().split(QLatin1Char('/'));
    if (parts.size() != 3)
        return {};
    // Only digits: a number reader stops at a NUL or other junk and would quietly drop the rest.
    for (const QString &part : parts) {
        const QString digits = part.trimmed();
        if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) {
                return c >= QLatin1Char('0') && c <= QLatin1Char('9');
            }))
            return {};
    }
    bool okM = false, okD = false, okY = false;
    const int month = parts[0].trimmed().toInt(&okM);
    const int day = parts[1].trimmed().toInt(&okD);
    const int year = parts[2].trimmed().toInt(&okY);
    const QDate date(year, month, day);
    if (!okM || !okD || !okY || !date.isValid() || year < 1 || year > 9999)
        return {};
    return date.toString(Qt::ISODate);
}

QString translate(const QString &jetSql, Engine engine, QChar decimalSeparator)
{
    QList<Token> tokens = tokenize(jetSql, engine);
    if (engine == Engine::PostgreSQL)
        tokens = forServer(tokens, decimalSeparator);
    tokens = collateOrderBy(tokens, engine);
    if (engine == Engine::SQLite)
        dropForUpdate(tokens);
    QString out;
    out.reserve(jetSql.size() + 32);
    for (const Token &t : tokens)
        out += t.text;
    return out;
}

} // namespace Dialect
