#pragma once
// The language of the interface, chosen once at start-up from the user's
// interface languages. MEVRA's own texts are Japanese and Korean: a user who
// reads one of those first (or runs under the C/POSIX locale) sees them as
// they are; everyone else gets the English catalogue. Qt's own dialogs and
// buttons follow the user's languages through Qt's installed catalogues.
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace mevra::gui {

// True when `locale` asks for the English catalogue rather than the
// program's own texts.
bool wants_english_texts(const QLocale& locale);

// Installs the translators for `locale` on the application for as long as
// it lives, and removes them again when destroyed.
class interface_language {
  public:
    explicit interface_language(const QLocale& locale);
    ~interface_language();
    interface_language(const interface_language&) = delete;
    interface_language& operator=(const interface_language&) = delete;

    bool english() const { return program_ != nullptr; }
    // True when Qt's own catalogue for the language was found and installed.
    bool qt_dialogs_translated() const { return qt_ != nullptr; }

  private:
    std::unique_ptr<QTranslator> program_;
    std::unique_ptr<QTranslator> qt_;
};

}  // namespace mevra::gui
