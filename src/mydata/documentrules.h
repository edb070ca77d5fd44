#pragma once

#include <QByteArray>
#include <QStringList>

// The rules of a retail receipt that the schema cannot say: read back from the document itself,
// so that a document whose figures disagree with one another is never sent.
namespace MyData {

// For every invoice of an InvoicesDoc: the type is 11.2; there is no counterpart and no line
// has a quantity; every amount has exactly two decimals; the lines' net values, VAT amounts and
// classified amounts sum to the summary's; the gross total is net plus VAT; the payments sum to
// the gross total; a line at VAT category 7 carries an exemption category and no VAT. Returns
// one line per broken rule; empty when all hold.
QStringList checkReceiptRules(const QByteArray &xml);

} // namespace MyData
