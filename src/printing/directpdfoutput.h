#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

// Sends every report run while it lives straight to a PDF file, with no dialogue: tests of the
// printing windows (and of any window that prints) read back what was printed. A file that
// cannot be written ends the run in an error, as the PDF output of the dialogue does.
class DirectPdfOutput {
public:
    struct Run {
        QString projectFile; // the full name the report component was given
        QString pdfPath;
        int pages = 0;
    };

    // Files are written to folder, or to a temporary folder of its own when folder is empty.
    explicit DirectPdfOutput(const QString &folder = {});
    ~DirectPdfOutput();
    DirectPdfOutput(const DirectPdfOutput &) = delete;
    DirectPdfOutput &operator=(const DirectPdfOutput &) = delete;

    const QVector<Run> &runs() const { return m_runs; }
    QString folder() const { return m_folder; }

private:
    QTemporaryDir m_temp;
    QString m_folder;
    QVector<Run> m_runs;
};
