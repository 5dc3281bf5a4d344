#include "app/interface_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>

namespace mevra::gui {

bool wants_english_texts(const QLocale& locale) {
    if (locale.language() == QLocale::C) return false;
    std::vector<std::string> languages;
    for (const QString& language : locale.uiLanguages()) languages.push_back(language.toStdString());
    return choose_text_language(languages) == text_language::english;
}

interface_language::interface_language(const QLocale& locale, QObject* parent)
    : interface_language(locale,
                         wants_english_texts(locale) ? text_language::english : text_language::own,
                         parent) {}

interface_language* interface_language::from_environment(QObject* parent) {
    return new interface_language(QLocale::system(), text_language_from_environment(), parent);
}

interface_language::interface_language(const QLocale& locale, text_language texts, QObject* parent)
    : QObject(parent) {
    auto* qt = new QTranslator(this);
    if (qt->load(locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(qt))
        qt_ = qt;
    else
        delete qt;
    if (texts != text_language::english) return;
    auto* program = new QTranslator(this);
    if (program->load(":/translations/mevra_en.qm") && QCoreApplication::installTranslator(program))
        program_ = program;
    else
        delete program;
}

}  // namespace mevra::gui
