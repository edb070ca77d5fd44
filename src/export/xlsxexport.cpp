#include "xlsxexport.h"

#include "cnumericlocale.h"
#include "exportfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

namespace XlsxExport {

namespace {

[[noreturn]] void fail(lxw_error error)
{
    throw ExportError(QStringLiteral("Η εξαγωγή δεν έγινε: το βιβλίο Excel δεν γράφτηκε (%1).")
                          .arg(QString::fromUtf8(lxw_strerror(error))));
}

void check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        fail(error);
}

// Closes the workbook on every way out; workbook_close also frees it.
struct Book {
    lxw_workbook *book = nullptr;
    ~Book()
    {
        if (book)
            workbook_close(book);
    }
    lxw_error close() { return workbook_close(std::exchange(book, nullptr)); }
};

// A sheet's name may not hold []:*?/\ and has at most 31 characters.
QByteArray sheetName(const QString &name)
{
    QString clean = name;
    for (const QChar c : QStringLiteral("[]:*?/\\"))
        clean.replace(c, QLatin1Char(' '));
    clean = clean.left(31).trimmed();
    return (clean.isEmpty() ? QStringLiteral("Φύλλο1") : clean).toUtf8();
}

} // namespace

QByteArray workbook(const ExportTable &table)
{
    // The library writes to a file of its own; its bytes go to the destination through
    // ExportFile like every other export, so the temporary one is private to this call.
    QTemporaryDir temp;
    if (!temp.isValid())
        throw ExportError(QStringLiteral("Η εξαγωγή δεν έγινε: δεν υπάρχει χώρος για "
                                         "προσωρινό αρχείο (%1).")
                              .arg(temp.errorString()));
    const QByteArray path = QDir(temp.path()).filePath(QStringLiteral("out.xlsx")).toLocal8Bit();
    const QByteArray tmpdir = temp.path().toLocal8Bit();
    // The library writes numbers and column widths with printf: a point, whatever the system.
    const CNumericLocale pointed;
    lxw_workbook_options options {};
    options.constant_memory = LXW_FALSE;
    options.tmpdir = const_cast<char *>(tmpdir.constData());
    Book book;
    book.book = workbook_new_opt(path.constData(), &options);
    if (!book.book)
        fail(LXW_ERROR_MEMORY_MALLOC_FAILED);
    const QByteArray name = sheetName(table.sheetName);
    lxw_worksheet *sheet = workbook_add_worksheet(book.book, name.constData());
    if (!sheet)
        fail(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE);

    lxw_format *title = workbook_add_format(book.book);
    format_set_bold(title);
    lxw_format *amount = workbook_add_format(book.book);
    format_set_num_format(amount, "0.00");
    lxw_format *date = workbook_add_format(book.book);
    format_set_num_format(date, "d/m/yyyy");

    for (int c = 0; c < table.titles.size(); ++c) {
        check(worksheet_write_string(sheet, 0, lxw_col_t(c), table.titles.at(c).toUtf8().constData(),
                                     title));
        const double width = c < table.widths.size() ? table.widths.at(c) : 12;
        check(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), width, nullptr));
    }
    for (int r = 0; r < table.rowCount(); ++r) {
        const lxw_row_t row = lxw_row_t(r + 1);
        for (int c = 0; c < table.columnCount(); ++c) {
            const ExportCell cell = table.cell(r, c);
            const lxw_col_t col = lxw_col_t(c);
            switch (cell.kind) {
            case ExportCell::Kind::Empty:
                break;
            case ExportCell::Kind::Text:
                check(worksheet_write_string(sheet, row, col, cell.text.toUtf8().constData(),
                                             nullptr));
                break;
            case ExportCell::Kind::Integer:
                check(worksheet_write_number(sheet, row, col, double(cell.integer), nullptr));
                break;
            case ExportCell::Kind::Date: {
                lxw_datetime when {cell.date.year(), cell.date.month(), cell.date.day(), 0, 0, 0};
                check(worksheet_write_datetime(sheet, row, col, &when, date));
                break;
            }
            case ExportCell::Kind::Amount:
                check(worksheet_write_number(sheet, row, col, cell.amount.toDouble(), amount));
                break;
            }
        }
    }
    check(book.close());
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        throw ExportError(QStringLiteral("Η εξαγωγή δεν έγινε: το βιβλίο Excel δεν διαβάστηκε "
                                         "(%1).")
                              .arg(file.errorString()));
    return file.readAll();
}

} // namespace XlsxExport
