#include "directpdfoutput.h"

#include "reportproject.h"

#include <QDir>
#include <QFileInfo>

DirectPdfOutput::DirectPdfOutput(const QString &folder)
    : m_folder(folder.isEmpty() ? m_temp.path() : folder)
{
    ReportOutput::install([this](const Report::RenderedReport &report, const QString &projectFile,
                                 QWidget *) {
        // "C:\x\LIST.RAV" or "/x\LIST.RAV": the base name after the last separator.
        QString base = projectFile.section(QLatin1Char('\\'), -1).section(QLatin1Char('/'), -1);
        base = QFileInfo(base).completeBaseName();
        const QString path
            = QDir(m_folder).filePath(QStringLiteral("%1-%2.pdf").arg(base).arg(m_runs.size() + 1));
        ReportOutput::savePdf(report, path);
        m_runs.append({projectFile, path, report.pageCount()});
    });
}

DirectPdfOutput::~DirectPdfOutput()
{
    ReportOutput::install({});
}
