#include "app/interface_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>

namespace mevra::gui {

bool wants_english_texts(const QLocale& locale) {
    if (locale.language() == QLocale::C) return false;
    const QStringList languages = locale.uiLanguages();
    if (languages.isEmpty()) return true;
    // Only the first language counts: someone who reads Japanese second has
    // still asked for something else first.
    const QString first = languages.front();
    if (first == "C" || first == "POSIX") return false;
    const QLocale::Language language = QLocale(first).language();
    return language != QLocale::Japanese && language != QLocale::Korean;
}

interface_language::interface_language(const QLocale& locale, QObject* parent) : QObject(parent) {
    auto* qt = new QTranslator(this);
    if (qt->load(locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(qt))
        qt_ = qt;
    else
        delete qt;
    if (!wants_english_texts(locale)) return;
    auto* program = new QTranslator(this);
    if (program->load(":/translations/mevra_en.qm") && QCoreApplication::installTranslator(program))
        program_ = program;
    else
        delete program;
}

}  // namespace mevra::gui
