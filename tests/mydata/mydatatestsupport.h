#pragma once

#include "invoicedocument.h"
#include "schemavalidator.h"

#include <QFileInfo>
#include <QString>
#include <QtGlobal>

#include <memory>

// The tax authority's schema: the repository's copy (src/mydata/xsd), named at build time.
namespace MyDataTest {

inline QString schemaFolder()
{
    return QStringLiteral(ORVANTA_MYDATA_XSD_DIR);
}

inline constexpr char kNoSchema[] = "the schema folder src/mydata/xsd is missing";

// A valid Greek tax number (its check digit holds).
inline constexpr char kVatNumber[] = "691400507";

inline Decimal amount(const char *text)
{
    return Decimal::read(QString::fromLatin1(text), QLatin1Char('.')).value();
}

inline MyData::Receipt receipt(const char *net, const char *vat, const char *total,
                               const char *rate, MyData::VatTreatment treatment)
{
    MyData::Receipt r;
    r.series = QStringLiteral("ΑΠΥ");
    r.number = 100;
    r.issueDate = QDate(2026, 12, 10);
    r.amount = amount(net);
    r.vat = amount(vat);
    r.total = amount(total);
    r.ratePercent = amount(rate);
    r.treatment = treatment;
    return r;
}

} // namespace MyDataTest

// Skips the test unless the schema folder is named; declares `folder` for the test body.
#define MYDATA_REQUIRE_SCHEMA(folder)                                                             \
    const QString folder = MyDataTest::schemaFolder();                                            \
    if (!QFileInfo::exists(folder + QStringLiteral("/InvoicesDoc-v2.0.1.xsd")))                  \
    GTEST_SKIP() << MyDataTest::kNoSchema
