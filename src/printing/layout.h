#pragma once

#include <QColor>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <vector>

// The layout model: what a layout file says, with no widgets and no data. Lengths are in
// millimetres; positions of elements are relative to the top left corner of their band.
namespace Report {

struct FontSpec {
    QString family = QStringLiteral("DejaVu Sans");
    double size = 9.0; // points
    bool bold = false;
    bool italic = false;
    bool operator==(const FontSpec &) const = default;
};

struct Element {
    // QrCode: the value of its one placeholder as a QR code, square, filling its box with the
    // code's quiet zone of four modules inside; nothing when the value is empty.
    enum class Kind { Text, Memo, Line, Box, QrCode };
    Kind kind = Kind::Text;
    double x = 0, y = 0, w = 0, h = 0;
    // Text and memo: a template with {CONNECTION.COLUMN}, {page}, {pages}, {printdate}, {line}
    // and {count:CONNECTION} placeholders; a placeholder may name a format after a bar
    // ({RvDataSetConnection3.AKSIA|amount}).
    QString text;
    QString emptyText; // shown instead when every placeholder of the template is empty
    FontSpec font;
    int align = 0; // Qt::Alignment flags
    QColor color = Qt::black;
    QColor fill;                 // boxes, and text with a background; invalid: none
    double penWidth = 0.3;       // lines, boxes and text frames
    bool frame = false;          // a text drawn with a frame around it
    bool skipEmptyLines = false; // memo: lines left empty (an unfilled column) take no room
    int sourceLine = 0;
};

struct Band {
    enum class Kind { Title, PageHeader, ColumnHeader, Detail, Summary, PageFooter };
    Kind kind = Kind::Detail;
    double height = 0;
    QString connection;   // detail bands: the data connection whose rows they print
    bool newPage = false; // detail bands: each row after the first starts a new page
    std::vector<Element> elements;
    int sourceLine = 0;
};

struct Layout {
    QString fileName;
    QString title;
    QPageSize pageSize {QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double marginLeft = 15, marginTop = 15, marginRight = 15, marginBottom = 15;
    FontSpec defaultFont;
    std::vector<Band> bands; // in the order of the file

    QSizeF pageSizeMm() const;
    const Band *band(Band::Kind kind) const;
    // Connection names that the layout reads, in order of first use.
    QStringList connections() const;
};

// Reads a layout file's text; throws ReportError naming the file and the line of the fault.
Layout parseLayout(const QString &text, const QString &fileName);

// Loads a layout file by its full name (a backslash is a separator, as in AppDir + "\LIST.RAV").
// A missing file is refused with "The following reporting project does not exist:", a line
// break and the full name in double quotation marks.
Layout loadLayout(const QString &fullName);

} // namespace Report
