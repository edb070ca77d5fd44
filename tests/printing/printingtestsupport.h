#pragma once

#include "directpdfoutput.h"
#include "testsupport.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <ostream>

// Helpers of the printing tests: the layouts of the repository put beside a test practice's
// data.mdb, and the text of a PDF file read back as a person would read it.
namespace PrintingTest {

// Copies every layout of the repository's layouts folder into folder.
void installLayouts(const QString &folder);
// The text of a PDF file as pdftotext gives it, page breaks as form feeds.
QString pdfText(const QString &pdfPath, bool layout = false);
// Fills a practice with a few patients, notes, expenses, receipts and the practice details.
void addSampleData();
// A text that fills more than one page when printed.
QString longText(int paragraphs);

// A test practice with the layouts beside its data.mdb and the sample data, every report sent
// straight to PDF (kept in the folder ORVANTA_KEEP_PDF names, when set), every box recorded.
class PrintingFixture : public ::testing::Test {
protected:
    PrintingFixture();
    QString patientId(const QString &surname) const;
    void removeLayout(const QString &name) const;
    // The text of the last PDF written.
    QString lastText(bool layout = false) const;
    int lastPages() const;

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    DirectPdfOutput output;
};

} // namespace PrintingTest
