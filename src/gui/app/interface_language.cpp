#include "app/interface_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>

namespace mevra::gui {
namespace {

std::unique_ptr<QTranslator> install(std::unique_ptr<QTranslator> translator) {
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

}  // namespace

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

interface_language::interface_language(const QLocale& locale) {
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        qt_ = install(std::move(qt));
    if (wants_english_texts(locale)) {
        auto program = std::make_unique<QTranslator>();
        if (program->load(":/translations/mevra_en.qm")) program_ = install(std::move(program));
    }
}

interface_language::~interface_language() {
    if (program_) QCoreApplication::removeTranslator(program_.get());
    if (qt_) QCoreApplication::removeTranslator(qt_.get());
}

}  // namespace mevra::gui
