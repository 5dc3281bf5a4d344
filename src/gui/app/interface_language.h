#pragma once
// The language of the interface, chosen once at start-up from the user's
// interface languages. MEVRA's own texts are Japanese and Korean: a user who
// reads one of those first (or runs under the C/POSIX locale) sees them as
// they are; everyone else gets the English catalogue. Qt's own dialogs and
// buttons follow the user's languages through Qt's installed catalogues.
#include <QLocale>
#include <QObject>
#include <QTranslator>

namespace mevra::gui {

// True when `locale` asks for the English catalogue rather than the
// program's own texts.
bool wants_english_texts(const QLocale& locale);

// Installs the translators for `locale` on the application while it lives;
// a translator removes itself from the application when it is destroyed.
class interface_language final : public QObject {
  public:
    explicit interface_language(const QLocale& locale, QObject* parent = nullptr);

    bool english() const { return program_ != nullptr; }
    // True when Qt's own catalogue for the language was found and installed.
    bool qt_dialogs_translated() const { return qt_ != nullptr; }

  private:
    QTranslator* program_ = nullptr;
    QTranslator* qt_ = nullptr;
};

}  // namespace mevra::gui
