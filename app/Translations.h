#pragma once

#include <QLocale>
#include <QStringList>

// Morvane in the user's language: Qt's own catalogue (the file dialog, the
// standard texts of line edits and calendars), Morvane's English plural
// forms, built into the binary, and Morvane's catalogue for the language,
// looked for beside the executable (a build tree) and then in the installed
// data folder. Languages without a catalogue get the English texts.
class Translations
{
public:
    // "translations" beside the executable, then in Morvane's data folder.
    static QStringList defaultSearchDirs();

    // Installs the catalogues for the locale's languages in the running
    // application, which owns them from then on. Answers whether Morvane's
    // own catalogue for the language was found (always true for English).
    static bool install(const QLocale &locale = QLocale(), const QStringList &searchDirs = defaultSearchDirs());
};
