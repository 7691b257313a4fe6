#include "app/Translations.h"

#include "app/Config.h"
#include "controls/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace {
const QString Catalogue = QStringLiteral("morvane");
// English needs a catalogue too: the source texts name each plural text
// once ("%n Day(s) "), and this one gives English its "1 Day " and "2 Days ".
const QString EnglishPlurals = QStringLiteral(":/i18n/morvane_en.qm");

bool installFrom(const QLocale &locale, const QString &name, const QString &dir)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, name, QStringLiteral("_"), dir)) {
        QCoreApplication::installTranslator(translator);
        return true;
    }
    delete translator;
    return false;
}
} // namespace

QStringList Translations::defaultSearchDirs()
{
    return {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
        QStringLiteral(MORVANE_DATADIR "/translations")};
}

bool Translations::install(const QLocale &locale, const QStringList &searchDirs)
{
    // Qt's catalogue is optional (qt6-translations-l10n): without it the
    // dialogs Qt draws stay English.
    installFrom(locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));

    // The last installed is asked first, so the language's own catalogue
    // comes after the English plurals it overrides.
    auto *english = new QTranslator(QCoreApplication::instance());
    if (english->load(EnglishPlurals))
        QCoreApplication::installTranslator(english);
    else
        qCWarning(lcMorvane) << "The English plural forms" << EnglishPlurals << "are missing";

    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return true;
    for (const QString &dir : searchDirs) {
        if (installFrom(locale, Catalogue, dir))
            return true;
    }
    qCInfo(lcMorvane) << "No catalogue for" << locale.name() << "in" << searchDirs << "- Morvane speaks English";
    return false;
}
