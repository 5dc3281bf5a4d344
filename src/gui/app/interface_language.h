#pragma once
// The language of the interface, chosen once at start-up from the user's
// interface languages by the rule mevra-cli follows too (text_language.h):
// the list is walked in order, Japanese or Korean (or the C/POSIX locale)
// keep MEVRA's own texts, English or no language MEVRA has give the English
// catalogue. Qt's own dialogs and buttons follow the user's languages
// through Qt's installed catalogues.
#include <QLocale>
#include <QObject>
#include <QTranslator>

#include "platform/text_language.h"

namespace mevra::gui {

// True when `locale` asks for the English catalogue rather than the
// program's own texts.
bool wants_english_texts(const QLocale& locale);

// Installs the translators for `locale` on the application while it lives;
// a translator removes itself from the application when it is destroyed.
class interface_language final : public QObject {
  public:
    explicit interface_language(const QLocale& locale, QObject* parent = nullptr);
    // Qt's catalogue for `locale`, the program's texts as `texts` says.
    interface_language(const QLocale& locale, text_language texts, QObject* parent = nullptr);

    // The languages of this process's environment, as the program starts with.
    static interface_language* from_environment(QObject* parent);

    bool english() const { return program_ != nullptr; }
    // True when Qt's own catalogue for the language was found and installed.
    bool qt_dialogs_translated() const { return qt_ != nullptr; }

  private:
    QTranslator* program_ = nullptr;
    QTranslator* qt_ = nullptr;
};

}  // namespace mevra::gui
