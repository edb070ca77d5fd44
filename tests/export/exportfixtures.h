#pragma once

#include "program.h"
#include "testsupport.h"

#include <QDir>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonDocument>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// What the export tests share: a practice, the recorded boxes, a file dialogue answered with a
// chosen name, and the files read back by a real reader (Python's csv module, or zipfile and
// the XML parser for a workbook).
namespace ExportFixtures {

class ExportTest : public ::testing::Test {
protected:
    ExportTest()
        : driver([this](QDialog *dialog) {
            auto *files = qobject_cast<QFileDialog *>(dialog);
            if (!files || target.isEmpty())
                return int(QDialog::Rejected);
            ++dialogs;
            suggested = files->selectedFiles().value(0);
            files->selectFile(target);
            if (!filter.isEmpty())
                files->selectNameFilter(filter);
            return int(QDialog::Accepted);
        })
    {}

    QString out(const QString &name) const { return QDir(folder.path()).filePath(name); }

    // The file as the reader script gives it back: {"bom": .., "rows": [[..]]} for a CSV file,
    // {"sheet": .., "rows": [[{"s"|"n"|"fmt": ..}]]} for a workbook.
    static QJsonObject readBack(const QString &path)
    {
        // Debian's interpreter, with Debian's openpyxl (another python3 may come first on PATH).
        const QString debian = QStringLiteral("/usr/bin/python3");
        QProcess python;
        python.start(QFileInfo::exists(debian) ? debian : QStringLiteral("python3"),
                     {QStringLiteral(READBACK_SCRIPT), path});
        if (!python.waitForFinished(30000) || python.exitCode() != 0) {
            ADD_FAILURE() << "readback.py failed: " << python.readAllStandardError().toStdString();
            return {};
        }
        return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    }

    static std::vector<QStringList> csvRows(const QJsonObject &file)
    {
        std::vector<QStringList> rows;
        for (const QJsonValue &row : file.value("rows").toArray()) {
            QStringList cells;
            for (const QJsonValue &cell : row.toArray())
                cells << cell.toString();
            rows.push_back(cells);
        }
        return rows;
    }

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    QTemporaryDir folder;
    QString target; // the name typed in the file dialogue; empty cancels it
    QString filter; // the file type chosen there, if not the first
    QString suggested;
    int dialogs = 0;
    TestSupport::ModalDriver driver;
};

} // namespace ExportFixtures
