#include "qttranslation.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace QtTranslation {

bool install(const QLocale &locale)
{
    static QTranslator *installed = nullptr;
    if (installed)
        return true;
    if (locale.language() != QLocale::Greek)
        return false;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral(":/translations/qt_el.qm"))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

bool installForSystem()
{
    return install(QLocale::system());
}

} // namespace QtTranslation
