#pragma once

class QLocale;

// Qt's own texts (the standard buttons "Ναι"/"Όχι"/"Άκυρο", the file, print and page dialogs,
// the print preview, the editing menus) in the system's language. Debian ships no Greek
// translation of them, so the program carries its own (translations/qt_el.ts, built into the
// program); without it a Greek program would ask "Έξοδος;" with "Yes" and "No".
namespace QtTranslation {

// Loads the translation for the locale's language once for the running application; true
// when one is installed (a Greek locale), false for a language the program has none for.
bool install(const QLocale &locale);
// The same for QLocale::system(), as the program does at start-up.
bool installForSystem();

} // namespace QtTranslation
