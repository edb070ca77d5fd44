#include "layout.h"

#include "connectionstring.h"
#include "reporterror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <cmath>
#include <optional>

namespace Report {

QSizeF Layout::pageSizeMm() const
{
    const QSizeF s = pageSize.size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? s.transposed() : s;
}

const Band *Layout::band(Band::Kind kind) const
{
    for (const Band &b : bands)
        if (b.kind == kind)
            return &b;
    return nullptr;
}

QStringList Layout::connections() const
{
    static const QRegularExpression placeholder(QStringLiteral("\\{(?:count:)?(\\w+)[.}]"));
    QStringList names;
    auto add = [&names](const QString &name) {
        if (!name.isEmpty() && !names.contains(name))
            names << name;
    };
    for (const Band &b : bands) {
        add(b.connection);
        for (const Element &e : b.elements) {
            auto it = placeholder.globalMatch(e.text);
            while (it.hasNext()) {
                const QString name = it.next().captured(1);
                if (name != QLatin1String("page") && name != QLatin1String("pages")
                    && name != QLatin1String("printdate") && name != QLatin1String("line"))
                    add(name);
            }
        }
    }
    return names;
}

namespace {

struct Fault {
    int line;
    QString what;
};

// One line of a layout file: a keyword, bare words and key=value attributes.
struct Statement {
    QString keyword;
    QStringList words;
    QHash<QString, QString> attributes;
    QStringList used;
    int line = 0;

    bool has(const QString &key) const { return attributes.contains(key); }
    QString take(const QString &key, const QString &fallback = {})
    {
        used << key;
        return attributes.value(key, fallback);
    }
    double number(const QString &key, double fallback)
    {
        if (!has(key))
            return take(key), fallback;
        bool ok = false;
        const double v = take(key).toDouble(&ok);
        // "nan" and "inf" read as numbers too, but no length or size can be either.
        if (!ok || !std::isfinite(v))
            throw Fault {line, QStringLiteral("%1 is not a number").arg(key)};
        return v;
    }
    bool flag(const QString &key, bool fallback)
    {
        if (!has(key))
            return take(key), fallback;
        const QString v = take(key).toLower();
        if (v == QLatin1String("yes") || v == QLatin1String("true"))
            return true;
        if (v == QLatin1String("no") || v == QLatin1String("false"))
            return false;
        throw Fault {line, QStringLiteral("%1 must be yes or no").arg(key)};
    }
    void finish() const
    {
        for (auto it = attributes.cbegin(); it != attributes.cend(); ++it)
            if (!used.contains(it.key()))
                throw Fault {line, QStringLiteral("unknown attribute \"%1\"").arg(it.key())};
    }
};

Statement tokenize(const QString &text, int lineNo)
{
    Statement st;
    st.line = lineNo;
    int i = 0;
    const int n = int(text.size());
    auto skipBlanks = [&] {
        while (i < n && text[i].isSpace())
            ++i;
    };
    auto readValue = [&]() -> QString {
        QString v;
        if (i < n && text[i] == QLatin1Char('"')) {
            ++i;
            while (true) {
                if (i >= n)
                    throw Fault {lineNo, QStringLiteral("a quoted text is not closed")};
                const QChar c = text[i++];
                if (c == QLatin1Char('"'))
                    break;
                if (c == QLatin1Char('\\') && i < n) {
                    const QChar e = text[i++];
                    v += e == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : e;
                } else {
                    v += c;
                }
            }
            return v;
        }
        while (i < n && !text[i].isSpace())
            v += text[i++];
        return v;
    };
    skipBlanks();
    while (i < n && !text[i].isSpace())
        st.keyword += text[i++];
    while (true) {
        skipBlanks();
        if (i >= n)
            break;
        if (text[i] == QLatin1Char('"')) {
            st.words << readValue();
            continue;
        }
        QString word;
        while (i < n && !text[i].isSpace() && text[i] != QLatin1Char('='))
            word += text[i++];
        if (i < n && text[i] == QLatin1Char('=')) {
            ++i;
            if (st.attributes.contains(word))
                throw Fault {lineNo, QStringLiteral("attribute \"%1\" given twice").arg(word)};
            st.attributes.insert(word, readValue());
        } else {
            st.words << word;
        }
    }
    return st;
}

QColor colour(Statement &st, const QString &key, const QColor &fallback)
{
    if (!st.has(key))
        return st.take(key), fallback;
    const QColor c = QColor::fromString(st.take(key));
    if (!c.isValid())
        throw Fault {st.line, QStringLiteral("%1 is not a colour").arg(key)};
    return c;
}

FontSpec font(Statement &st, const FontSpec &base)
{
    FontSpec f = base;
    f.family = st.take(QStringLiteral("font"), f.family);
    f.size = st.number(QStringLiteral("size"), f.size);
    if (f.size <= 0 || f.size > 200)
        throw Fault {st.line, QStringLiteral("size must be between 0 and 200 points")};
    f.bold = st.flag(QStringLiteral("bold"), f.bold);
    f.italic = st.flag(QStringLiteral("italic"), f.italic);
    return f;
}

int alignment(Statement &st)
{
    int h = Qt::AlignLeft;
    const QString a = st.take(QStringLiteral("align"), QStringLiteral("left"));
    if (a == QLatin1String("center") || a == QLatin1String("centre"))
        h = Qt::AlignHCenter;
    else if (a == QLatin1String("right"))
        h = Qt::AlignRight;
    else if (a == QLatin1String("justify"))
        h = Qt::AlignJustify;
    else if (a != QLatin1String("left"))
        throw Fault {st.line, QStringLiteral("align must be left, center, right or justify")};
    int v = Qt::AlignVCenter;
    const QString va = st.take(QStringLiteral("valign"), QStringLiteral("middle"));
    if (va == QLatin1String("top"))
        v = Qt::AlignTop;
    else if (va == QLatin1String("bottom"))
        v = Qt::AlignBottom;
    else if (va != QLatin1String("middle"))
        throw Fault {st.line, QStringLiteral("valign must be top, middle or bottom")};
    return h | v;
}

std::optional<Band::Kind> bandKind(const QString &word)
{
    static const QHash<QString, Band::Kind> kinds {
        {QStringLiteral("title"), Band::Kind::Title},
        {QStringLiteral("pageheader"), Band::Kind::PageHeader},
        {QStringLiteral("columnheader"), Band::Kind::ColumnHeader},
        {QStringLiteral("detail"), Band::Kind::Detail},
        {QStringLiteral("summary"), Band::Kind::Summary},
        {QStringLiteral("pagefooter"), Band::Kind::PageFooter},
    };
    auto it = kinds.constFind(word);
    if (it == kinds.cend())
        return std::nullopt;
    return *it;
}

void requirePositive(const Statement &st, double value, const char *what)
{
    if (value < 0)
        throw Fault {st.line, QStringLiteral("%1 may not be negative").arg(QLatin1String(what))};
}

Element element(Statement &st, const FontSpec &base)
{
    Element e;
    e.sourceLine = st.line;
    const QString k = st.keyword;
    e.x = st.number(QStringLiteral("x"), 0);
    e.y = st.number(QStringLiteral("y"), 0);
    e.w = st.number(QStringLiteral("w"), 0);
    e.h = st.number(QStringLiteral("h"), 0);
    e.color = colour(st, QStringLiteral("color"), Qt::black);
    e.fill = colour(st, QStringLiteral("fill"), QColor());
    e.penWidth = st.number(QStringLiteral("pen"), 0.3);
    if (k == QLatin1String("line") || k == QLatin1String("box")) {
        e.kind = k == QLatin1String("line") ? Element::Kind::Line : Element::Kind::Box;
        if (e.kind == Element::Kind::Box) {
            requirePositive(st, e.w, "w");
            requirePositive(st, e.h, "h");
        }
        return e;
    }
    requirePositive(st, e.w, "w");
    requirePositive(st, e.h, "h");
    if (k == QLatin1String("qrcode")) {
        static const QRegularExpression ref(QStringLiteral("^\\w+\\.\\w+$"));
        const QString data = st.take(QStringLiteral("data"));
        if (!ref.match(data).hasMatch())
            throw Fault {st.line, QStringLiteral("qrcode needs data=CONNECTION.COLUMN")};
        if (e.w <= 0 || e.w != e.h)
            throw Fault {st.line, QStringLiteral("a qrcode is square: w and h equal, above 0")};
        e.kind = Element::Kind::QrCode;
        e.text = QStringLiteral("{%1}").arg(data);
        return e;
    }
    e.kind = k == QLatin1String("memo") ? Element::Kind::Memo : Element::Kind::Text;
    e.font = font(st, base);
    e.align = alignment(st);
    if (e.kind == Element::Kind::Memo)
        e.align = (e.align & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
    e.frame = st.flag(QStringLiteral("frame"), false);
    e.skipEmptyLines = st.flag(QStringLiteral("skipempty"), false);
    if (e.skipEmptyLines && e.kind != Element::Kind::Memo)
        throw Fault {st.line, QStringLiteral("skipempty is for memo elements")};
    e.emptyText = st.take(QStringLiteral("empty"));
    if (st.has(QStringLiteral("data"))) {
        static const QRegularExpression ref(QStringLiteral("^\\w+\\.\\w+$"));
        const QString data = st.take(QStringLiteral("data"));
        if (!ref.match(data).hasMatch())
            throw Fault {st.line, QStringLiteral("data must be CONNECTION.COLUMN")};
        const QString format = st.take(QStringLiteral("format"));
        e.text = QStringLiteral("{%1%2}").arg(data,
                                              format.isEmpty() ? QString()
                                                               : QLatin1Char('|') + format);
    } else if (k == QLatin1String("pagenumber")) {
        e.text = st.take(QStringLiteral("text"), QStringLiteral("Σελίδα {page} από {pages}"));
    } else if (k == QLatin1String("printdate")) {
        e.text = st.take(QStringLiteral("text"), QStringLiteral("{printdate}"));
    } else {
        e.text = st.take(QStringLiteral("text"));
    }
    static const QRegularExpression badFormat(
        QStringLiteral("\\|(?!amount\\}|date\\}|month\\}|upper\\}|percent\\})"));
    if (badFormat.match(e.text).hasMatch())
        throw Fault {st.line,
                     QStringLiteral("unknown format (amount, date, month, upper, percent)")};
    return e;
}

} // namespace

Layout parseLayout(const QString &text, const QString &fileName)
{
    Layout layout;
    layout.fileName = fileName;
    Band *current = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    try {
        for (int i = 0; i < lines.size(); ++i) {
            const QString raw = lines[i].trimmed();
            if (raw.isEmpty() || raw.startsWith(QLatin1Char('#')))
                continue;
            Statement st = tokenize(raw, i + 1);
            const QString &k = st.keyword;
            if (k == QLatin1String("report")) {
                layout.title = st.take(QStringLiteral("title"));
            } else if (k == QLatin1String("page")) {
                const QString size = st.take(QStringLiteral("size"), QStringLiteral("A4"));
                if (size == QLatin1String("A4"))
                    layout.pageSize = QPageSize(QPageSize::A4);
                else if (size == QLatin1String("A5"))
                    layout.pageSize = QPageSize(QPageSize::A5);
                else if (size == QLatin1String("Letter"))
                    layout.pageSize = QPageSize(QPageSize::Letter);
                else
                    throw Fault {st.line, QStringLiteral("size must be A4, A5 or Letter")};
                const QString o
                    = st.take(QStringLiteral("orientation"), QStringLiteral("portrait"));
                if (o == QLatin1String("landscape"))
                    layout.orientation = QPageLayout::Landscape;
                else if (o != QLatin1String("portrait"))
                    throw Fault {st.line,
                                 QStringLiteral("orientation must be portrait or landscape")};
                if (st.has(QStringLiteral("margins"))) {
                    const QStringList m
                        = st.take(QStringLiteral("margins")).split(QLatin1Char(','));
                    bool ok = m.size() == 4;
                    double v[4] = {};
                    for (int j = 0; ok && j < 4; ++j) {
                        v[j] = m[j].trimmed().toDouble(&ok);
                        ok = ok && std::isfinite(v[j]);
                    }
                    if (!ok)
                        throw Fault {st.line,
                                     QStringLiteral("margins must be left,top,right,bottom")};
                    layout.marginLeft = v[0];
                    layout.marginTop = v[1];
                    layout.marginRight = v[2];
                    layout.marginBottom = v[3];
                }
            } else if (k == QLatin1String("font")) {
                FontSpec f = layout.defaultFont;
                f.family = st.take(QStringLiteral("family"), f.family);
                st.used << QStringLiteral("font");
                layout.defaultFont = font(st, f);
            } else if (k == QLatin1String("band")) {
                if (st.words.size() != 1 || !bandKind(st.words[0]))
                    throw Fault {st.line,
                                 QStringLiteral("band needs one kind: title, pageheader, "
                                                "columnheader, detail, summary, pagefooter")};
                Band b;
                b.kind = *bandKind(st.words[0]);
                b.sourceLine = st.line;
                b.height = st.number(QStringLiteral("height"), -1);
                if (b.height < 0)
                    throw Fault {st.line, QStringLiteral("band needs a height")};
                b.connection = st.take(QStringLiteral("data"));
                b.newPage = st.flag(QStringLiteral("newpage"), false);
                if (b.kind == Band::Kind::Detail && b.connection.isEmpty())
                    throw Fault {st.line, QStringLiteral("a detail band needs data=CONNECTION")};
                if ((b.kind == Band::Kind::PageHeader || b.kind == Band::Kind::PageFooter)
                    && layout.band(b.kind))
                    throw Fault {st.line, QStringLiteral("only one %1 band").arg(st.words[0])};
                layout.bands.push_back(b);
                current = &layout.bands.back();
            } else if (k == QLatin1String("text") || k == QLatin1String("field")
                       || k == QLatin1String("memo") || k == QLatin1String("line")
                       || k == QLatin1String("box") || k == QLatin1String("pagenumber")
                       || k == QLatin1String("printdate") || k == QLatin1String("qrcode")) {
                if (!current)
                    throw Fault {st.line, QStringLiteral("%1 outside a band").arg(k)};
                if (k == QLatin1String("field") && !st.has(QStringLiteral("data")))
                    throw Fault {st.line, QStringLiteral("field needs data=CONNECTION.COLUMN")};
                Element e = element(st, layout.defaultFont);
                if (e.kind == Element::Kind::Memo) {
                    for (const Element &other : current->elements)
                        if (other.kind == Element::Kind::Memo)
                            throw Fault {st.line, QStringLiteral("only one memo per band")};
                }
                current->elements.push_back(e);
            } else {
                throw Fault {st.line, QStringLiteral("unknown word \"%1\"").arg(k)};
            }
            if (!st.words.isEmpty() && k != QLatin1String("band"))
                throw Fault {st.line, QStringLiteral("unexpected \"%1\"").arg(st.words[0])};
            st.finish();
        }
        const QSizeF page = layout.pageSizeMm();
        if (layout.marginLeft + layout.marginRight >= page.width()
            || layout.marginTop + layout.marginBottom >= page.height())
            throw Fault {0, QStringLiteral("the margins leave no room on the page")};
        double fixed = 0;
        for (const Band &b : layout.bands)
            if (b.kind == Band::Kind::PageHeader || b.kind == Band::Kind::PageFooter
                || b.kind == Band::Kind::ColumnHeader)
                fixed += b.height;
        double biggest = 0;
        for (const Band &b : layout.bands)
            biggest = std::max(biggest, b.height);
        if (fixed + biggest > page.height() - layout.marginTop - layout.marginBottom)
            throw Fault {0, QStringLiteral("the bands are higher than the page")};
    } catch (const Fault &f) {
        const QString where = f.line > 0 ? QStringLiteral("line %1: ").arg(f.line) : QString();
        throw ReportError(QStringLiteral("The reporting project \"%1\" cannot be read:\n%2%3.")
                              .arg(fileName, where, f.what));
    }
    return layout;
}

Layout loadLayout(const QString &fullName)
{
    const QString path = ConnectionString::localPath(fullName);
    const QFileInfo info(path);
    // Messages name the file in full, with the platform's own separators.
    const QString shown = QDir::toNativeSeparators(info.absoluteFilePath());
    if (!info.exists() || !info.isFile())
        throw ReportError(
            QStringLiteral("The following reporting project does not exist:\n\"%1\"").arg(shown));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("The reporting project \"%1\" cannot be read:\n%2.")
                              .arg(shown, file.errorString()));
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        throw ReportError(QStringLiteral("The reporting project \"%1\" cannot be read:\n"
                                         "it is not a text file in UTF-8.")
                              .arg(shown));
    return parseLayout(text, shown);
}

} // namespace Report
