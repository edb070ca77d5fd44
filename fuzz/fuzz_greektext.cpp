// The Greek comparison and the LIKE matcher, directly and as the engine calls them (the GREEK
// collation and like() registered on a connection). The input is up to three texts, one a line.
// The comparison must be a total order: antisymmetric, transitive, equal only for equal texts,
// the same on UTF-8 as on UTF-16. LIKE must agree with a plain reference matcher.

#include "fuzzcheck.h"
#include "greektext.h"
#include "sqlfunctions.h"

#include <QStringList>
#include <sqlite3.h>

#include <vector>

namespace {

using GreekText::compare;

// SQL LIKE by the book, on folded texts: '%' any run (the empty one too), '_' one code unit.
bool referenceLike(QStringView pattern, QStringView text)
{
    const QString p = GreekText::fold(pattern);
    const QString t = GreekText::fold(text);
    // match[j]: the pattern read so far matches the first j units of the text.
    std::vector<char> match(size_t(t.size()) + 1, 0);
    std::vector<char> next(match.size(), 0);
    match[0] = 1;
    for (qsizetype i = 0; i < p.size(); ++i) {
        next[0] = 0;
        if (pattern[i] == QLatin1Char('%')) {
            char any = 0;
            for (size_t j = 0; j < match.size(); ++j)
                next[j] = any = char(any | match[j]);
        } else {
            for (size_t j = 1; j < match.size(); ++j)
                next[j] = char(match[j - 1]
                               && (pattern[i] == QLatin1Char('_') || p[i] == t[qsizetype(j) - 1]));
        }
        match.swap(next);
    }
    return match.back() != 0;
}

void checkOrder(const QString &a, const QString &b)
{
    const int ab = Fuzz::sign(compare(a, b));
    const int ba = Fuzz::sign(compare(b, a));
    FUZZ_CHECK(ab == -ba,
               QStringLiteral("compare(%1, %2) = %3 and back %4").arg(a, b).arg(ab).arg(ba));
    FUZZ_CHECK((ab == 0) == (a == b), QStringLiteral("%1 and %2 compare %3").arg(a, b).arg(ab));
    // Texts the reader takes for the same word sort next to each other: the fold decides first.
    const QString fa = GreekText::fold(a);
    const QString fb = GreekText::fold(b);
    if (fa != fb)
        FUZZ_CHECK(ab == Fuzz::sign(compare(fa, fb)),
                   QStringLiteral("%1 and %2 against their folds").arg(a, b));
    // The collation on the stored UTF-8 gives the same order.
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    const int u = Fuzz::sign(
        GreekText::compareUtf8(ua.constData(), int(ua.size()), ub.constData(), int(ub.size())));
    FUZZ_CHECK(u == ab,
               QStringLiteral("compareUtf8(%1, %2) = %3, compare = %4").arg(a, b).arg(u).arg(ab));
}

void checkTransitive(const QString &a, const QString &b, const QString &c)
{
    if (compare(a, b) <= 0 && compare(b, c) <= 0)
        FUZZ_CHECK(compare(a, c) <= 0,
                   QStringLiteral("%1 <= %2 <= %3 but not %1 <= %3").arg(a, b, c));
}

// Raw bytes, as a damaged database could hold them: the collation still orders them.
void checkRawUtf8(const QByteArray &a, const QByteArray &b, const QByteArray &c)
{
    auto cmp = [](const QByteArray &x, const QByteArray &y) {
        return Fuzz::sign(
            GreekText::compareUtf8(x.constData(), int(x.size()), y.constData(), int(y.size())));
    };
    const QByteArray *t[3] = {&a, &b, &c};
    int r[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = cmp(*t[i], *t[j]);
    for (int i = 0; i < 3; ++i) {
        FUZZ_CHECK(r[i][i] == 0, QString::fromLatin1(t[i]->toHex()));
        for (int j = 0; j < 3; ++j) {
            FUZZ_CHECK(r[i][j] == -r[j][i],
                       QString::fromLatin1(t[i]->toHex() + " / " + t[j]->toHex()));
            for (int k = 0; k < 3; ++k)
                if (r[i][j] <= 0 && r[j][k] <= 0)
                    FUZZ_CHECK(r[i][k] <= 0,
                               QString::fromLatin1(t[i]->toHex() + " <= " + t[j]->toHex()
                                                   + " <= " + t[k]->toHex()));
        }
    }
}

void checkLike(const QString &pattern, const QString &text)
{
    const bool got = GreekText::like(pattern, text);
    // The reference is quadratic: long pairs are checked by the shortcuts below only.
    if (qint64(pattern.size()) * text.size() <= 20000)
        FUZZ_CHECK(got == referenceLike(pattern, text),
                   QStringLiteral("'%1' LIKE '%2' gave %3").arg(text, pattern).arg(got));
    FUZZ_CHECK(GreekText::like(QStringLiteral("%"), text), text);
    if (!text.contains(QLatin1Char('%')) && !text.contains(QLatin1Char('_')))
        FUZZ_CHECK(GreekText::like(text, text) && GreekText::like(GreekText::fold(text), text),
                   text);
    FUZZ_CHECK(GreekText::like(QString(text.size(), QLatin1Char('_')), text), text);
}

// The functions as the engine calls them, on one in-memory connection.
struct Engine {
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    Engine()
    {
        sqlite3_open(":memory:", &db);
        SqlFunctions::registerAll(db);
        sqlite3_prepare_v2(db,
                           "SELECT ?2 LIKE ?1, ?1 < ?2 COLLATE GREEK, ?1 = ?2 COLLATE GREEK,"
                           " ?1 > ?2 COLLATE GREEK",
                           -1, &stmt, nullptr);
    }
};

void checkEngine(const QString &a, const QString &b)
{
    static Engine e;
    FUZZ_CHECK(e.stmt, QString::fromUtf8(sqlite3_errmsg(e.db)));
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    sqlite3_reset(e.stmt);
    sqlite3_bind_text(e.stmt, 1, ua.constData(), int(ua.size()), SQLITE_STATIC);
    sqlite3_bind_text(e.stmt, 2, ub.constData(), int(ub.size()), SQLITE_STATIC);
    FUZZ_CHECK(sqlite3_step(e.stmt) == SQLITE_ROW, QString::fromUtf8(sqlite3_errmsg(e.db)));
    const int c = Fuzz::sign(compare(a, b));
    // like() gets its arguments through the engine's own UTF-8 to UTF-16 conversion, which
    // turns the non-characters U+FFFE and U+FFFF into U+FFFD.
    auto asEngineGives = [](QString s) {
        for (QChar &ch : s)
            if (ch.unicode() >= 0xFFFE)
                ch = QChar(0xFFFD);
        return s;
    };
    FUZZ_CHECK(sqlite3_column_int(e.stmt, 0)
                   == int(GreekText::like(asEngineGives(a), asEngineGives(b))),
               a + QLatin1Char('/') + b);
    FUZZ_CHECK(sqlite3_column_int(e.stmt, 1) == int(c < 0)
                   && sqlite3_column_int(e.stmt, 2) == int(c == 0)
                   && sqlite3_column_int(e.stmt, 3) == int(c > 0),
               a + QLatin1Char('/') + b);
    sqlite3_clear_bindings(e.stmt);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QByteArray> raw = bytes.split('\n');
    while (raw.size() < 3)
        raw << QByteArray();
    checkRawUtf8(raw[0], raw[1], raw[2]);

    const QString t[3]
        = {QString::fromUtf8(raw[0]), QString::fromUtf8(raw[1]), QString::fromUtf8(raw[2])};
    for (int i = 0; i < 3; ++i) {
        const QString folded = GreekText::fold(t[i]);
        FUZZ_CHECK(GreekText::fold(folded) == folded, t[i]);
        for (int j = i; j < 3; ++j)
            checkOrder(t[i], t[j]); // both ways round
    }
    static const int orders[6][3]
        = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (const auto &o : orders)
        checkTransitive(t[o[0]], t[o[1]], t[o[2]]);
    checkLike(t[0], t[1]);
    checkLike(t[1], t[2]);
    checkEngine(t[0], t[1]);
    return 0;
}
