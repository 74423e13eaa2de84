#include "ui/czech_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace kelvarn {

namespace {

// Czech desktop programs label the cancelling button "Storno"; Qt's catalogue says
// "Zrušit". Asked before Qt's catalogue, so everything else falls through to it.
class CzechWording : public QTranslator {
  public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (!context || !sourceText)
            return {};
        // Every standard button (message boxes, button boxes of dialogs) is named here.
        if (qstrcmp(context, "QPlatformTheme") == 0 && qstrcmp(sourceText, "Cancel") == 0)
            return QStringLiteral("Storno");
        return {};
    }
};

} // namespace

QString CzechTranslation::catalogueFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

CzechTranslation::CzechTranslation() : previousLocale_(QLocale()) {
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    // Widgets take their month and day names from the default locale.
    QLocale::setDefault(czech);
    loaded_ = qt_.load(czech, QStringLiteral("qtbase"), QStringLiteral("_"), catalogueFolder());
    if (loaded_)
        QCoreApplication::installTranslator(&qt_);
    wording_ = std::make_unique<CzechWording>();
    QCoreApplication::installTranslator(wording_.get());
}

CzechTranslation::~CzechTranslation() {
    QCoreApplication::removeTranslator(wording_.get());
    if (loaded_)
        QCoreApplication::removeTranslator(&qt_);
    QLocale::setDefault(previousLocale_);
}

} // namespace kelvarn
