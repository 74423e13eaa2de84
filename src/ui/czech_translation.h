#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>

namespace kelvarn {

// Qt's own texts in Czech: the buttons of message boxes and standard dialogs, the
// context menus of text fields, the names of months and days in calendars. The
// program speaks Czech whatever the system locale is; numbers and dates still
// follow the locale's conventions (LocaleConventions). Installed for the lifetime
// of the object.
class CzechTranslation {
  public:
    CzechTranslation();
    ~CzechTranslation();
    CzechTranslation(const CzechTranslation&) = delete;
    CzechTranslation& operator=(const CzechTranslation&) = delete;

    // False when Qt's Czech catalogue is not installed; the few texts the program
    // words itself are Czech even then.
    bool loaded() const { return loaded_; }

    // Where Qt's catalogues are looked for.
    static QString catalogueFolder();

  private:
    QTranslator qt_;
    std::unique_ptr<QTranslator> wording_;
    QLocale previousLocale_;
    bool loaded_ = false;
};

} // namespace kelvarn
