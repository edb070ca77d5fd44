#include "greektext.h"

#include <algorithm>
#include <array>

namespace GreekText {

namespace {

// Folding table for the Basic Latin, Latin-1 and Greek blocks; other characters fold through
// Qt's own upper-casing.
struct FoldTable {
    std::array<char16_t, 0x400> map {};
    FoldTable()
    {
        for (char16_t c = 0; c < map.size(); ++c)
            map[c] = c;
        for (char16_t c = 'a'; c <= 'z'; ++c)
            map[c] = char16_t(c - 'a' + 'A');
        // Greek small letters to capitals; final sigma to sigma.
        for (char16_t c = 0x03B1; c <= 0x03C9; ++c)
            map[c] = char16_t(c - 0x20);
        map[0x03C2] = 0x03A3;
        // Accented and diaeresis forms.
        const std::pair<char16_t, char16_t> accented[] = {
            {0x0386, 0x0391}, {0x0388, 0x0395}, {0x0389, 0x0397}, {0x038A, 0x0399},
            {0x038C, 0x039F}, {0x038E, 0x03A5}, {0x038F, 0x03A9}, {0x0390, 0x0399},
            {0x03AA, 0x0399}, {0x03AB, 0x03A5}, {0x03AC, 0x0391}, {0x03AD, 0x0395},
            {0x03AE, 0x0397}, {0x03AF, 0x0399}, {0x03B0, 0x03A5}, {0x03CA, 0x0399},
            {0x03CB, 0x03A5}, {0x03CC, 0x039F}, {0x03CD, 0x03A5}, {0x03CE, 0x03A9},
        };
        for (const auto &[from, to] : accented)
            map[from] = to;
        // Latin-1 letters with accents fold to their base letter.
        const char *latin1 = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty";
        for (char16_t c = 0xC0; c <= 0xFF; ++c) {
            const char base = latin1[c - 0xC0];
            if (base != 'x' && base != '/' && base != 's' && base != 'T' && base != 't'
                && base != 'D' && base != 'd')
                map[c] = char16_t(base >= 'a' ? base - 'a' + 'A' : base);
        }
    }
};

const FoldTable &table()
{
    static const FoldTable t;
    return t;
}

inline char16_t foldChar(char16_t c)
{
    if (c < 0x400)
        return table().map[c];
    if (c >= 0x1F00 && c <= 0x1FFF) // polytonic Greek
        return QString(QChar(c)).normalized(QString::NormalizationForm_D).at(0).toUpper().unicode();
    return QChar(c).toUpper().unicode();
}

// Wildcard match with one remembered '%' position: linear in practice, never exponential.
bool likeMatch(QStringView p, QStringView t)
{
    qsizetype pi = 0, ti = 0, starP = -1, starT = 0;
    while (ti < t.size()) {
        if (pi < p.size() && p[pi] == QLatin1Char('%')) {
            starP = ++pi;
            starT = ti;
        } else if (pi < p.size()
                   && (p[pi] == QLatin1Char('_')
                       || foldChar(p[pi].unicode()) == foldChar(t[ti].unicode()))) {
            ++pi;
            ++ti;
        } else if (starP >= 0) {
            pi = starP;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == QLatin1Char('%'))
        ++pi;
    return pi == p.size();
}

// Walks a UTF-8 text as UTF-16 code units (a character outside the BMP gives its two
// surrogates in turn), so that it compares exactly as its QString would.
struct Utf8Units {
    const unsigned char *p;
    const unsigned char *end;
    char16_t low = 0;

    bool next(char16_t &out)
    {
        if (low) {
            out = low;
            low = 0;
            return true;
        }
        if (p >= end)
            return false;
        const unsigned c = *p++;
        if (c < 0x80) {
            out = char16_t(c);
            return true;
        }
        int extra;
        char32_t cp;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            out = 0xFFFD;
            return true;
        }
        while (extra-- > 0) {
            if (p >= end || (*p & 0xC0) != 0x80) {
                out = 0xFFFD;
                return true;
            }
            cp = (cp << 6) | (*p++ & 0x3F);
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out = char16_t(0xD800 + (cp >> 10));
            low = char16_t(0xDC00 + (cp & 0x3FF));
            return true;
        }
        out = char16_t(cp);
        return true;
    }
};

} // namespace

QString fold(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        d[i] = QChar(foldChar(text[i].unicode()));
    return out;
}

int compare(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t fa = foldChar(a[i].unicode());
        const char16_t fb = foldChar(b[i].unicode());
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int compareUtf8(const char *a, int lengthA, const char *b, int lengthB)
{
    const auto *pa = reinterpret_cast<const unsigned char *>(a);
    const auto *pb = reinterpret_cast<const unsigned char *>(b);
    // Equal bytes are equal characters: start at the first character that differs.
    const int common = std::min(lengthA, lengthB);
    int same = 0;
    while (same < common && pa[same] == pb[same])
        ++same;
    if (same == lengthA && same == lengthB)
        return 0;
    // Back to a point where a character starts in both texts (a byte that does not continue
    // one, or the end); a text that is not valid UTF-8 may differ right after a lead byte.
    auto continues = [](const unsigned char *p, int length, int at) {
        return at < length && (p[at] & 0xC0) == 0x80;
    };
    while (same > 0 && (continues(pa, lengthA, same) || continues(pb, lengthB, same)))
        --same;
    Utf8Units ua {pa + same, pa + lengthA};
    Utf8Units ub {pb + same, pb + lengthB};
    // Folded letters first, then the shorter text, then the first differing unit as typed:
    // the order of compare().
    int asTyped = 0;
    char16_t ca = 0;
    char16_t cb = 0;
    for (;;) {
        const bool hasA = ua.next(ca);
        const bool hasB = ub.next(cb);
        if (!hasA || !hasB) {
            if (hasA != hasB)
                return hasA ? 1 : -1;
            return asTyped;
        }
        const char16_t fa = foldChar(ca);
        const char16_t fb = foldChar(cb);
        if (fa != fb)
            return fa < fb ? -1 : 1;
        if (asTyped == 0 && ca != cb)
            asTyped = ca < cb ? -1 : 1;
    }
}

bool like(QStringView pattern, QStringView text)
{
    return likeMatch(pattern, text);
}

} // namespace GreekText
