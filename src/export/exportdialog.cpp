#include "exportdialog.h"

#include "csvwriter.h"
#include "exportfile.h"
#include "exporttexts.h"
#include "messageservice.h"
#include "window.h"
#include "xlsxexport.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace ExportDialog {

namespace {

// The folder of the last export of this run; the program keeps no settings.
QString &lastFolder()
{
    static QString folder;
    return folder;
}

// "Αρχεία CSV (*.csv)" gives {".csv"}; "Φάκελος ασθενούς (*.pdf *.json)" {".pdf", ".json"}.
QStringList extensionsOf(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*(\\.[A-Za-z0-9]+)"));
    QStringList extensions;
    for (auto it = pattern.globalMatch(filter); it.hasNext();)
        extensions << it.next().captured(1);
    return extensions;
}

} // namespace

QString chooseFile(QWidget *parent, const QString &suggestedName, const QStringList &filters)
{
    QFileDialog dialog(parent, ExportTexts::kChooseFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    const QString folder = lastFolder().isEmpty() ? QDir::homePath() : lastFolder();
    dialog.setDirectory(folder);
    dialog.selectFile(suggestedName);
    if (ModalRunner::exec(&dialog) != QDialog::Accepted)
        return {};
    QString path = dialog.selectedFiles().value(0);
    if (path.isEmpty())
        return {};
    const QString extension = extensionsOf(dialog.selectedNameFilter()).value(0);
    const QString suffix = QLatin1Char('.') + QFileInfo(path).suffix();
    bool known = false;
    for (const QString &filter : filters)
        known = known || extensionsOf(filter).contains(suffix, Qt::CaseInsensitive);
    if (!known && !extension.isEmpty())
        path += extension;
    return path;
}

void rememberFolder(const QString &writtenPath)
{
    lastFolder() = QFileInfo(writtenPath).absolutePath();
}

QString fileNameDate(const QString &literal)
{
    QStringList parts = QString(literal).remove(QLatin1Char('#')).split(QLatin1Char('/'));
    if (parts.size() == 3)
        parts.swapItemsAt(0, 1);
    return parts.join(QLatin1Char('-'));
}

Format formatOf(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0
        ? Format::Xlsx
        : Format::Csv;
}

void writeTable(const ExportTable &table, const QString &path)
{
    if (formatOf(path) == Format::Xlsx) {
        ExportFile::save(path, XlsxExport::workbook(table));
        return;
    }
    ExportFile::save(path, [&table](QIODevice &device) {
        CsvWriter csv(device);
        csv.writeTable(table);
        return csv.flush();
    });
}

bool exportTable(QWidget *parent, const QString &suggestedName,
                 const std::function<ExportTable()> &rows)
{
    const QString path = chooseFile(parent, suggestedName,
                                    {ExportTexts::kCsvFilter, ExportTexts::kXlsxFilter});
    if (path.isEmpty())
        return false;
    int written = 0;
    const bool ok = Kit::guarded(parent, [&] {
        const ExportTable table = rows();
        writeTable(table, path);
        written = table.rowCount();
    });
    if (ok) {
        rememberFolder(path);
        Messages::information(parent,
                              ExportTexts::tableWritten(written, QDir::toNativeSeparators(path)));
    }
    return ok;
}

} // namespace ExportDialog
