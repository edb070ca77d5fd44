#include "renderer.h"

#include "decimal.h"
#include "recordset.h"
#include "reporterror.h"
#include "sqltext.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QTextLayout>
#include <QTextOption>

#include <qrencode.h>

#include <algorithm>
#include <memory>

namespace Report {

namespace {

// Text is measured at the resolution of the PDF writer, so that what fits in the measurement
// fits on paper; other devices scale from it.
constexpr double kMeasureDpi = 1200.0;
constexpr double kMmPerMeasurePx = 25.4 / kMeasureDpi;

QFont makeFont(const FontSpec &fontSpec)
{
    QFont f(fontSpec.family);
    f.setPointSizeF(fontSpec.size);
    f.setBold(fontSpec.bold);
    f.setItalic(fontSpec.italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

const QPaintDevice *measureDevice()
{
    static QImage image = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        const int dpm = int(kMeasureDpi / 0.0254 + 0.5);
        i.setDotsPerMeterX(dpm);
        i.setDotsPerMeterY(dpm);
        return i;
    }();
    return &image;
}

QString monthName(int m)
{
    static const char *names[]
        = {"Ιανουάριος", "Φεβρουάριος", "Μάρτιος",     "Απρίλιος",  "Μάιος",     "Ιούνιος",
           "Ιούλιος",    "Αύγουστος",   "Σεπτέμβριος", "Οκτώβριος", "Νοέμβριος", "Δεκέμβριος"};
    return m >= 1 && m <= 12 ? QString::fromUtf8(names[m - 1]) : QString::number(m);
}

struct Segment {
    enum class Kind { Literal, Field, Count, Page, Pages, PrintDate, Line };
    Kind kind = Kind::Literal;
    QString literal; // the literal, or the format of a field
    int connection = -1;
    int column = -1;
};

struct Template {
    std::vector<Segment> segments;
    bool hasData = false;
    bool pageNumbers = false;
};

struct CompiledElement {
    const Element *element = nullptr;
    Template text;
    quint16 font = 0;
};

struct CompiledBand {
    const Band *band = nullptr;
    int connection = -1;
    std::vector<CompiledElement> elements;
    int memo = -1; // index in elements
};

class Renderer {
public:
    Renderer(const Layout &layout, const Connections &data, const QDate &printDate)
        : m_layout(layout)
    {
        m_out.title = layout.title;
        m_out.pageSizeMm = layout.pageSizeMm();
        m_out.orientation = layout.orientation;
        m_out.pageSize = layout.pageSize;
        m_out.printDate = printDate;
        m_printDate = SqlText::dateText(printDate);
        for (const QString &name : layout.connections()) {
            auto it = data.constFind(name);
            if (it == data.cend() || !*it)
                fail(0, QStringLiteral("the data connection %1 is not given").arg(name));
            m_names << name;
            m_sets.push_back(*it);
        }
        m_rows.assign(m_sets.size(), 0);
        for (const Band &b : layout.bands)
            m_bands.push_back(compile(b));
        m_pageHeight = m_out.pageSizeMm.height();
        m_bottom = m_pageHeight - layout.marginBottom;
        if (const Band *footer = layout.band(Band::Kind::PageFooter))
            m_bottom -= footer->height;
    }

    RenderedReport run()
    {
        const CompiledBand *columns = nullptr;
        bool titleDone = false;
        startPage();
        for (const CompiledBand &cb : m_bands) {
            switch (cb.band->kind) {
            case Band::Kind::PageHeader:
            case Band::Kind::PageFooter:
                break;
            case Band::Kind::Title:
                if (!titleDone)
                    place(cb);
                titleDone = true;
                break;
            case Band::Kind::ColumnHeader:
                columns = &cb;
                break;
            case Band::Kind::Summary:
                place(cb);
                break;
            case Band::Kind::Detail: {
                m_columns = columns;
                if (m_columns) {
                    if (m_y + m_columns->band->height + minimumDetail(cb) > m_bottom)
                        newPage();
                    else
                        place(*m_columns);
                }
                const RecordSet *set = m_sets[size_t(cb.connection)];
                const int rows = set->isOpen() ? set->rowCount() : 0;
                for (int r = 0; r < rows; ++r) {
                    // The page being finished still shows the row printed on it.
                    if (r > 0 && cb.band->newPage)
                        newPage();
                    m_rows[size_t(cb.connection)] = r;
                    m_line = r + 1;
                    place(cb);
                }
                m_rows[size_t(cb.connection)] = 0;
                m_columns = nullptr;
                columns = nullptr;
                break;
            }
            }
        }
        finishPage();
        return std::move(m_out);
    }

private:
    [[noreturn]] void fail(int line, const QString &what) const
    {
        const QString where = line > 0 ? QStringLiteral("line %1: ").arg(line) : QString();
        throw ReportError(QStringLiteral("The reporting project \"%1\" cannot be run:\n%2%3.")
                              .arg(m_layout.fileName, where, what));
    }

    int connectionIndex(const QString &name) const { return int(m_names.indexOf(name)); }

    Template compileText(const QString &text, int line)
    {
        Template t;
        int i = 0;
        const int n = int(text.size());
        QString literal;
        auto flush = [&] {
            if (!literal.isEmpty())
                t.segments.push_back({Segment::Kind::Literal, literal, -1, -1});
            literal.clear();
        };
        while (i < n) {
            const QChar c = text[i];
            const int close = c == QLatin1Char('{') ? int(text.indexOf(QLatin1Char('}'), i)) : -1;
            if (close < 0) {
                literal += c;
                ++i;
                continue;
            }
            const QString inner = text.mid(i + 1, close - i - 1);
            i = close + 1;
            flush();
            Segment s;
            if (inner == QLatin1String("page")) {
                s.kind = Segment::Kind::Page;
                t.pageNumbers = true;
            } else if (inner == QLatin1String("pages")) {
                s.kind = Segment::Kind::Pages;
                t.pageNumbers = true;
            } else if (inner == QLatin1String("printdate")) {
                s.kind = Segment::Kind::PrintDate;
            } else if (inner == QLatin1String("line")) {
                s.kind = Segment::Kind::Line;
            } else if (inner.startsWith(QLatin1String("count:"))) {
                s.kind = Segment::Kind::Count;
                s.connection = connectionIndex(inner.mid(6));
                if (s.connection < 0)
                    fail(line, QStringLiteral("unknown data connection in {%1}").arg(inner));
            } else {
                const int bar = int(inner.indexOf(QLatin1Char('|')));
                const QString ref = bar < 0 ? inner : inner.left(bar);
                const int dot = int(ref.indexOf(QLatin1Char('.')));
                if (dot < 0)
                    fail(line, QStringLiteral("unknown placeholder {%1}").arg(inner));
                s.kind = Segment::Kind::Field;
                s.connection = connectionIndex(ref.left(dot));
                if (s.connection < 0)
                    fail(line, QStringLiteral("unknown data connection in {%1}").arg(inner));
                const RecordSet *set = m_sets[size_t(s.connection)];
                const QString column = ref.mid(dot + 1);
                s.column = set->isOpen() ? set->fieldIndex(column) : -1;
                if (set->isOpen() && s.column < 0)
                    fail(line,
                         QStringLiteral("the data connection %1 has no column %2")
                             .arg(ref.left(dot), column));
                s.literal = bar < 0 ? QString() : inner.mid(bar + 1);
                t.hasData = true;
            }
            t.segments.push_back(s);
        }
        flush();
        return t;
    }

    quint16 fontIndex(const FontSpec &fontSpec)
    {
        for (size_t i = 0; i < m_out.fonts.size(); ++i)
            if (m_out.fonts[i] == fontSpec)
                return quint16(i);
        m_out.fonts.push_back(fontSpec);
        m_metrics.push_back(std::make_unique<QFontMetricsF>(makeFont(fontSpec), measureDevice()));
        return quint16(m_out.fonts.size() - 1);
    }

    CompiledBand compile(const Band &band)
    {
        CompiledBand cb;
        cb.band = &band;
        cb.connection = band.connection.isEmpty() ? -1 : connectionIndex(band.connection);
        for (const Element &e : band.elements) {
            CompiledElement ce;
            ce.element = &e;
            if (e.kind == Element::Kind::Text || e.kind == Element::Kind::Memo) {
                ce.text = compileText(e.text, e.sourceLine);
                ce.font = fontIndex(e.font);
            } else if (e.kind == Element::Kind::QrCode) {
                ce.text = compileText(e.text, e.sourceLine);
            }
            if (e.kind == Element::Kind::Memo)
                cb.memo = int(cb.elements.size());
            cb.elements.push_back(std::move(ce));
        }
        return cb;
    }

    QString resolve(const Template &t, bool *allEmpty = nullptr) const
    {
        if (t.segments.size() == 1 && t.segments[0].kind == Segment::Kind::Literal) {
            if (allEmpty)
                *allEmpty = false;
            return t.segments[0].literal;
        }
        QString out;
        bool empty = true;
        for (const Segment &s : t.segments) {
            switch (s.kind) {
            case Segment::Kind::Literal:
                out += s.literal;
                break;
            case Segment::Kind::Field: {
                const RecordSet *set = m_sets[size_t(s.connection)];
                const int row = m_rows[size_t(s.connection)];
                if (s.column < 0 || !set->isOpen() || row >= set->rowCount())
                    break;
                QString v = set->text(row, s.column);
                if (!s.literal.isEmpty())
                    v = formatValue(v, s.literal);
                if (!v.trimmed().isEmpty())
                    empty = false;
                out += v;
                break;
            }
            case Segment::Kind::Count: {
                const RecordSet *set = m_sets[size_t(s.connection)];
                out += QString::number(set->isOpen() ? set->rowCount() : 0);
                break;
            }
            case Segment::Kind::Page:
                out += QLatin1String("{page}");
                break;
            case Segment::Kind::Pages:
                out += QLatin1String("{pages}");
                break;
            case Segment::Kind::PrintDate:
                out += m_printDate;
                break;
            case Segment::Kind::Line:
                out += QString::number(m_line);
                break;
            }
        }
        if (allEmpty)
            *allEmpty = t.hasData && empty;
        return out;
    }

    double lineHeight(quint16 font) const
    {
        return m_metrics[font]->lineSpacing() * kMmPerMeasurePx;
    }

    QStringList wrapLines(const QString &text, quint16 font, double widthMm) const
    {
        QStringList lines;
        const QFont f = makeFont(m_out.fonts[font]);
        // A little room is kept so that a line measured here never spills on another device.
        const double width = widthMm / kMmPerMeasurePx * 0.98;
        QString normalised = text;
        normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        for (const QString &paragraph : normalised.split(QLatin1Char('\n'))) {
            if (paragraph.trimmed().isEmpty()) {
                lines << QString();
                continue;
            }
            QTextLayout layout(paragraph, f, const_cast<QPaintDevice *>(measureDevice()));
            // A word longer than the line (an address, a long number) breaks where it must.
            QTextOption option;
            option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            layout.setTextOption(option);
            layout.beginLayout();
            while (true) {
                QTextLine line = layout.createLine();
                if (!line.isValid())
                    break;
                line.setLineWidth(width);
                lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
            }
            layout.endLayout();
        }
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    void emitText(const CompiledElement &ce, double x, double y)
    {
        const Element &e = *ce.element;
        const QRectF rect(x + e.x, y + e.y, e.w, e.h);
        if (e.fill.isValid())
            emitBox(rect, 0, e.color, e.fill, false);
        bool allEmpty = false;
        QString text = resolve(ce.text, &allEmpty);
        if (allEmpty)
            text = e.emptyText;
        if (e.frame)
            emitBox(rect, e.penWidth, e.color, QColor(), true);
        if (text.isEmpty())
            return;
        PageItem item;
        item.kind = PageItem::Kind::Text;
        item.font = ce.font;
        item.flags = e.align;
        item.color = e.color.rgba();
        item.pageNumbers = ce.text.pageNumbers;
        // A framed text keeps a little distance from its frame.
        item.rect = e.frame ? rect.adjusted(1, 0, -1, 0) : rect;
        const QFontMetricsF &fm = *m_metrics[ce.font];
        const double available = item.rect.width() / kMmPerMeasurePx;
        if (!item.pageNumbers && !text.contains(QLatin1Char('\n'))
            && fm.horizontalAdvance(text) <= available * 0.98) {
            item.text = std::move(text);
        } else if (e.h >= 2 * lineHeight(ce.font)) {
            item.wrap = true;
            item.text = std::move(text);
        } else if (item.pageNumbers) {
            item.text = std::move(text);
        } else {
            text.replace(QLatin1Char('\n'), QLatin1Char(' '));
            item.text = fm.elidedText(text, Qt::ElideRight, available * 0.98);
        }
        m_page->push_back(std::move(item));
    }

    void emitBox(const QRectF &rect, double pen, const QColor &color, const QColor &fill,
                 bool outline)
    {
        PageItem item;
        item.kind = PageItem::Kind::Box;
        item.rect = rect;
        item.pen = outline ? float(pen) : 0.f;
        item.color = color.rgba();
        item.hasFill = fill.isValid();
        item.fill = fill.isValid() ? fill.rgba() : 0;
        m_page->push_back(item);
    }

    void emitElement(const CompiledElement &ce, double x, double y, double growth = 0)
    {
        const Element &e = *ce.element;
        switch (e.kind) {
        case Element::Kind::Text:
            emitText(ce, x, y);
            break;
        case Element::Kind::Memo:
            break;
        case Element::Kind::Line: {
            PageItem item;
            item.kind = PageItem::Kind::Line;
            item.rect = QRectF(QPointF(x + e.x, y + e.y), QPointF(x + e.x + e.w, y + e.y + e.h));
            item.pen = float(e.penWidth);
            item.color = e.color.rgba();
            m_page->push_back(item);
            break;
        }
        case Element::Kind::Box:
            emitBox(QRectF(x + e.x, y + e.y, e.w, e.h + growth), e.penWidth, e.color, e.fill,
                    e.penWidth > 0);
            break;
        case Element::Kind::QrCode:
            emitQrCode(ce, x, y);
            break;
        }
    }

    // The code as filled boxes, one per run of dark modules in a row, so that every output
    // (PDF, printer, preview) draws it as it draws any box.
    void emitQrCode(const CompiledElement &ce, double x, double y)
    {
        const Element &e = *ce.element;
        bool allEmpty = false;
        const QByteArray value = resolve(ce.text, &allEmpty).toUtf8();
        if (allEmpty || value.isEmpty())
            return;
        QRcode *code = QRcode_encodeString8bit(value.constData(), 0, QR_ECLEVEL_M);
        if (!code)
            throw ReportError(QStringLiteral("The reporting project \"%1\" cannot be run:\nline "
                                             "%2: the value is too long for a QR code.")
                                  .arg(m_layout.fileName)
                                  .arg(e.sourceLine));
        const int n = code->width;
        const double module = e.w / (n + 8); // four modules of quiet zone on each side
        const QColor dark = e.color;
        for (int row = 0; row < n; ++row) {
            int col = 0;
            while (col < n) {
                if (!(code->data[row * n + col] & 1)) {
                    ++col;
                    continue;
                }
                const int start = col;
                while (col < n && (code->data[row * n + col] & 1))
                    ++col;
                emitBox(QRectF(x + e.x + (4 + start) * module, y + e.y + (4 + row) * module,
                               (col - start) * module, module),
                        0, dark, dark, false);
            }
        }
        QRcode_free(code);
    }

    void emitMemoLine(const CompiledElement &ce, const QString &text, double x, double y)
    {
        if (text.isEmpty())
            return;
        PageItem item;
        item.kind = PageItem::Kind::Text;
        item.font = ce.font;
        item.flags = (ce.element->align & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
        if (item.flags & Qt::AlignJustify)
            item.flags = Qt::AlignLeft | Qt::AlignTop;
        item.color = ce.element->color.rgba();
        item.rect = QRectF(x + ce.element->x, y, ce.element->w, lineHeight(ce.font));
        item.text = text;
        m_page->push_back(std::move(item));
    }

    double minimumDetail(const CompiledBand &cb) const
    {
        if (cb.memo < 0)
            return cb.band->height;
        const CompiledElement &m = cb.elements[size_t(cb.memo)];
        return std::min(cb.band->height, m.element->y + 3 * lineHeight(m.font));
    }

    // Places a band at the current position, moving to a new page when it does not fit; a band
    // with a long memo carries the memo's lines over to as many pages as they need.
    void place(const CompiledBand &cb)
    {
        const double x = m_layout.marginLeft;
        if (cb.memo < 0) {
            if (m_y + cb.band->height > m_bottom && m_y > m_bodyTop + 0.001)
                newPage();
            for (const CompiledElement &ce : cb.elements)
                emitElement(ce, x, m_y);
            m_y += cb.band->height;
            return;
        }
        const CompiledElement &memo = cb.elements[size_t(cb.memo)];
        const Element &me = *memo.element;
        bool allEmpty = false;
        const QString text = resolve(memo.text, &allEmpty);
        QStringList lines = wrapLines(allEmpty ? me.emptyText : text, memo.font, me.w);
        if (me.skipEmptyLines)
            lines.removeAll(QString());
        const double lh = lineHeight(memo.font);
        const double memoHeight = std::max(me.h, lines.size() * lh);
        const double growth = memoHeight - me.h;
        const double memoBottom = me.y + me.h;
        if (m_y + cb.band->height + growth <= m_bottom) {
            for (const CompiledElement &ce : cb.elements) {
                if (&ce == &memo) {
                    for (int i = 0; i < lines.size(); ++i)
                        emitMemoLine(memo, lines[i], x, m_y + me.y + i * lh);
                    continue;
                }
                const double shift = ce.element->y >= memoBottom ? growth : 0;
                const double boxGrowth = ce.element->kind == Element::Kind::Box
                        && ce.element->y < memoBottom && ce.element->y + ce.element->h >= memoBottom
                    ? growth
                    : 0;
                emitElement(ce, x, m_y + shift, boxGrowth);
            }
            m_y += cb.band->height + growth;
            return;
        }
        // Does not fit here: start where the head and a few lines fit, then flow.
        if (m_y + me.y + std::min<double>(3, std::max<qsizetype>(1, lines.size())) * lh > m_bottom
            && m_y > m_bodyTop + 0.001)
            newPage();
        for (const CompiledElement &ce : cb.elements)
            if (ce.element->y < memoBottom && ce.element->kind != Element::Kind::Box)
                emitElement(ce, x, m_y);
        double cursor = m_y + me.y;
        for (const QString &line : lines) {
            if (cursor + lh > m_bottom) {
                newPage();
                cursor = m_y;
            }
            emitMemoLine(memo, line, x, cursor);
            cursor += lh;
        }
        // What stands below the memo follows its last line.
        const double tail = cb.band->height - memoBottom;
        m_y = cursor;
        if (m_y + tail > m_bottom) {
            newPage();
        }
        for (const CompiledElement &ce : cb.elements)
            if (ce.element->y >= memoBottom)
                emitElement(ce, x, m_y + ce.element->y - memoBottom);
        m_y += tail;
    }

    void startPage()
    {
        m_out.pages.emplace_back();
        m_page = &m_out.pages.back();
        m_y = m_layout.marginTop;
        for (const CompiledBand &cb : m_bands)
            if (cb.band->kind == Band::Kind::PageHeader) {
                for (const CompiledElement &ce : cb.elements)
                    emitElement(ce, m_layout.marginLeft, m_y);
                m_y += cb.band->height;
            }
        m_bodyTop = m_y;
    }

    void finishPage()
    {
        for (const CompiledBand &cb : m_bands)
            if (cb.band->kind == Band::Kind::PageFooter)
                for (const CompiledElement &ce : cb.elements)
                    emitElement(ce, m_layout.marginLeft, m_bottom);
    }

    void newPage()
    {
        finishPage();
        startPage();
        if (m_columns) {
            for (const CompiledElement &ce : m_columns->elements)
                emitElement(ce, m_layout.marginLeft, m_y);
            m_y += m_columns->band->height;
        }
        m_bodyTop = m_y;
    }

    const Layout &m_layout;
    RenderedReport m_out;
    QString m_printDate;
    QStringList m_names;
    std::vector<const RecordSet *> m_sets;
    std::vector<int> m_rows;
    std::vector<CompiledBand> m_bands;
    std::vector<std::unique_ptr<QFontMetricsF>> m_metrics;
    const CompiledBand *m_columns = nullptr;
    std::vector<PageItem> *m_page = nullptr;
    double m_pageHeight = 0;
    double m_bottom = 0;
    double m_y = 0;
    double m_bodyTop = 0;
    int m_line = 0;
};

} // namespace

QString formatValue(const QString &value, const QString &format)
{
    const QString v = value.trimmed();
    if (v.isEmpty())
        return value;
    if (format == QLatin1String("amount")) {
        // Two decimals, halves away from zero, with the system's separator; a value comes as
        // the program shows it (the system's separator) or as SQL text (a point).
        auto amount = Decimal::read(v);
        if (!amount)
            amount = Decimal::read(v, QLatin1Char('.'));
        return amount ? amount->rounded(2, Decimal::Rounding::HalfAwayFromZero).text() : value;
    }
    if (format == QLatin1String("date")) {
        const auto d = SqlText::parseDate(v);
        if (d)
            return SqlText::dateText(*d);
        const QDate iso = QDate::fromString(v.left(10), Qt::ISODate);
        return iso.isValid() ? SqlText::dateText(iso) : value;
    }
    if (format == QLatin1String("month")) {
        bool ok = false;
        const int m = v.toInt(&ok);
        return ok ? monthName(m) : value;
    }
    if (format == QLatin1String("upper"))
        return QLocale(QLocale::Greek).toUpper(value);
    if (format == QLatin1String("percent"))
        return v + QLatin1String(" %");
    return value;
}

RenderedReport render(const Layout &layout, const Connections &data, const QDate &printDate)
{
    Renderer renderer(layout, data, printDate);
    return renderer.run();
}

void RenderedReport::paintPage(QPainter &painter, int page, double dotsPerMm) const
{
    if (page < 0 || page >= pageCount())
        return;
    std::vector<QFont> qfonts;
    qfonts.reserve(fonts.size());
    for (const FontSpec &fontSpec : fonts)
        qfonts.push_back(makeFont(fontSpec));
    const QString pageText = QString::number(page + 1);
    const QString pagesText = QString::number(pageCount());
    int currentFont = -1;
    QRgb currentColour = 0;
    bool colourSet = false;
    auto scaled = [dotsPerMm](const QRectF &r) {
        return QRectF(r.x() * dotsPerMm, r.y() * dotsPerMm, r.width() * dotsPerMm,
                      r.height() * dotsPerMm);
    };
    for (const PageItem &item : pages[size_t(page)]) {
        switch (item.kind) {
        case PageItem::Kind::Text: {
            if (currentFont != item.font) {
                painter.setFont(qfonts[item.font]);
                currentFont = item.font;
            }
            if (!colourSet || currentColour != item.color) {
                painter.setPen(QColor::fromRgba(item.color));
                currentColour = item.color;
                colourSet = true;
            }
            int flags = item.flags | (item.wrap ? Qt::TextWordWrap : Qt::TextSingleLine);
            if (item.pageNumbers) {
                QString t = item.text;
                t.replace(QLatin1String("{pages}"), pagesText);
                t.replace(QLatin1String("{page}"), pageText);
                painter.drawText(scaled(item.rect), flags, t);
            } else {
                painter.drawText(scaled(item.rect), flags, item.text);
            }
            break;
        }
        case PageItem::Kind::Line: {
            QPen pen(QColor::fromRgba(item.color));
            pen.setWidthF(std::max(0.05, double(item.pen)) * dotsPerMm);
            painter.setPen(pen);
            const QRectF r = item.rect;
            painter.drawLine(QPointF(r.left() * dotsPerMm, r.top() * dotsPerMm),
                             QPointF(r.right() * dotsPerMm, r.bottom() * dotsPerMm));
            colourSet = false;
            break;
        }
        case PageItem::Kind::Box: {
            if (item.pen > 0) {
                QPen pen(QColor::fromRgba(item.color));
                pen.setWidthF(double(item.pen) * dotsPerMm);
                painter.setPen(pen);
            } else {
                painter.setPen(Qt::NoPen);
            }
            painter.setBrush(item.hasFill ? QBrush(QColor::fromRgba(item.fill)) : QBrush());
            painter.drawRect(scaled(item.rect));
            painter.setBrush(QBrush());
            colourSet = false;
            break;
        }
        }
    }
}

QStringList RenderedReport::pageTexts(int page) const
{
    QStringList texts;
    if (page < 0 || page >= pageCount())
        return texts;
    for (const PageItem &item : pages[size_t(page)])
        if (item.kind == PageItem::Kind::Text) {
            QString t = item.text;
            if (item.pageNumbers) {
                t.replace(QLatin1String("{pages}"), QString::number(pageCount()));
                t.replace(QLatin1String("{page}"), QString::number(page + 1));
            }
            texts << t;
        }
    return texts;
}

} // namespace Report
