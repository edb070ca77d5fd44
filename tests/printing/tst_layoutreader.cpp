// The layout reader refuses what the renderer cannot draw, naming the line: faults the layout
// fuzz target (fuzz/fuzz_layout.cpp) found, kept here as plain cases.

#include "layout.h"
#include "reporterror.h"

#include <gtest/gtest.h>

namespace {

QString refusal(const QString &text)
{
    try {
        Report::parseLayout(text, QStringLiteral("T.RAV"));
    } catch (const ReportError &e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(LayoutReader, RefusesLengthsThatAreNotFiniteNumbers)
{
    const QString band = QStringLiteral("band detail data=C height=6\n");
    const struct {
        QString text;
        const char *message;
    } cases[] = {
        {QStringLiteral("band detail data=C height=nan"), "line 1: height is not a number."},
        {QStringLiteral("band summary height=inf"), "line 1: height is not a number."},
        {band + QStringLiteral("text x=nan y=0 w=10 h=5 text=a"), "line 2: x is not a number."},
        {band + QStringLiteral("line x=0 y=0 w=-inf h=0"), "line 2: w is not a number."},
        {band + QStringLiteral("box x=0 y=0 w=10 h=5 pen=inf"), "line 2: pen is not a number."},
        {band + QStringLiteral("text x=0 y=0 w=10 h=5 size=NaN"), "line 2: size is not a number."},
        {QStringLiteral("font size=nan"), "line 1: size is not a number."},
        {QStringLiteral("page margins=nan,10,10,10"),
         "line 1: margins must be left,top,right,bottom."},
        {QStringLiteral("page margins=10,10,-inf,10"),
         "line 1: margins must be left,top,right,bottom."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(refusal(c.text),
                  QStringLiteral("The reporting project \"T.RAV\" cannot be read:\n")
                      + QString::fromLatin1(c.message))
            << c.text.toStdString();
    // Ordinary numbers still read.
    EXPECT_EQ(refusal(band + QStringLiteral("text x=1.5 y=0 w=10 h=5 size=8.5 text=a")), QString());
    EXPECT_EQ(refusal(QStringLiteral("page margins=10,12.5,10,10")), QString());
}
