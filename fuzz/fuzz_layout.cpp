// The report layout reader: a layout file is a text file anyone can edit. Whatever it holds, the
// reader either refuses it with ReportError or gives a layout the renderer can draw: every
// length finite, no negative size, margins and bands that fit the page.

#include "fuzzcheck.h"
#include "layout.h"
#include "reporterror.h"

#include <cmath>

namespace {

void checkFinite(double v, const char *what, int line)
{
    FUZZ_CHECK(std::isfinite(v),
               QStringLiteral("%1 = %2 (line %3)").arg(QLatin1String(what)).arg(v).arg(line));
}

void checkFont(const Report::FontSpec &f, int line)
{
    FUZZ_CHECK(std::isfinite(f.size) && f.size > 0 && f.size <= 200,
               QStringLiteral("font size %1 (line %2)").arg(f.size).arg(line));
}

void checkLayout(const Report::Layout &l)
{
    using Report::Band;
    using Report::Element;
    for (double m : {l.marginLeft, l.marginTop, l.marginRight, l.marginBottom})
        checkFinite(m, "margin", 0);
    checkFont(l.defaultFont, 0);
    const QSizeF page = l.pageSizeMm();
    FUZZ_CHECK(l.marginLeft + l.marginRight < page.width()
                   && l.marginTop + l.marginBottom < page.height(),
               QStringLiteral("margins leave no room"));
    const double room = page.height() - l.marginTop - l.marginBottom;
    int pageHeaders = 0;
    int pageFooters = 0;
    for (const Band &b : l.bands) {
        checkFinite(b.height, "band height", b.sourceLine);
        FUZZ_CHECK(b.height >= 0 && b.height <= room,
                   QStringLiteral("band height %1 on %2 mm (line %3)")
                       .arg(b.height)
                       .arg(room)
                       .arg(b.sourceLine));
        FUZZ_CHECK(b.kind != Band::Kind::Detail || !b.connection.isEmpty(),
                   QStringLiteral("detail band without data (line %1)").arg(b.sourceLine));
        pageHeaders += b.kind == Band::Kind::PageHeader;
        pageFooters += b.kind == Band::Kind::PageFooter;
        int memos = 0;
        for (const Element &e : b.elements) {
            for (double v : {e.x, e.y, e.w, e.h, e.penWidth})
                checkFinite(v, "element position, size or pen", e.sourceLine);
            if (e.kind != Element::Kind::Line)
                FUZZ_CHECK(e.w >= 0 && e.h >= 0,
                           QStringLiteral("negative size (line %1)").arg(e.sourceLine));
            if (e.kind == Element::Kind::Text || e.kind == Element::Kind::Memo)
                checkFont(e.font, e.sourceLine);
            memos += e.kind == Element::Kind::Memo;
        }
        FUZZ_CHECK(memos <= 1, QStringLiteral("%1 memos in one band").arg(memos));
    }
    FUZZ_CHECK(pageHeaders <= 1 && pageFooters <= 1, QStringLiteral("repeated page band"));
    // Every name the layout reads is a plain word, as the report run looks it up.
    for (const QString &name : l.connections())
        FUZZ_CHECK(!name.isEmpty(), QStringLiteral("empty connection name"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Fuzz::text(data, size);
    Report::Layout layout;
    try {
        layout = Report::parseLayout(text, QStringLiteral("FUZZ.RAV"));
    } catch (const ReportError &e) {
        FUZZ_CHECK(e.message().startsWith(QStringLiteral("The reporting project \"FUZZ.RAV\"")),
                   e.message());
        return 0;
    }
    checkLayout(layout);
    // Reading is deterministic: the same text gives the same layout again.
    const Report::Layout again = Report::parseLayout(text, QStringLiteral("FUZZ.RAV"));
    FUZZ_CHECK(again.bands.size() == layout.bands.size() && again.title == layout.title,
               QStringLiteral("second reading differs"));
    return 0;
}
