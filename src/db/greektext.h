#pragma once

#include <QString>
#include <QStringView>

// Greek text as a person compares it: letter case and accents do not matter, final sigma is a
// sigma, and the alphabet's order is the order of the folded letters.
namespace GreekText {

// The text with accents and diaeresis removed, letters in upper case and final sigma as sigma
// (Latin letters are upper-cased too). Equal folds mean "the same word" to a reader.
QString fold(QStringView text);

// Greek alphabetical order: compares folded texts, then the texts themselves so that the order
// is total and stable.
int compare(QStringView a, QStringView b);

// The same order for two texts in UTF-8, as the database stores them: compared where they lie,
// without converting them first (ORDER BY calls this for every pair it compares).
int compareUtf8(const char *a, int lengthA, const char *b, int lengthB);

// SQL LIKE with '%' (any run) and '_' (one character), on folded texts.
bool like(QStringView pattern, QStringView text);

} // namespace GreekText
