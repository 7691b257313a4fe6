#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

// Morvane's help book, an HTML folder "MacHelp.help" whose index page is
// the book's front page. It is looked for beside the executable (a build
// tree) and then in Morvane's installed data folder.
//
// Nothing here reports a failure: a book or page that is not there opens
// nothing, and whether the desktop's viewer opened anything is not asked.
class HelpBook
{
public:
    // The application's info table, from the resource :/morvane/Info.json;
    // empty when the resource is missing or unreadable.
    static QVariantMap applicationInfo();
    // Beside the executable first, then the installed data folder.
    static QStringList defaultSearchDirs();

    explicit HelpBook(QVariantMap info = applicationInfo(), QStringList searchDirs = defaultSearchDirs());

    // Opens the book named under "CFBundleHelpBookName" in the info table at
    // its anchor "acess".
    void openHtmlHelp() const;
    // Opens the front page of the "MacHelp.help" folder.
    void openHtmlHelp1() const;
    // Opens one file of the help, or any other file, in the desktop's viewer.
    void openOnePageHtmlHelp(const QString &path) const;

    // The folder of the book with that name in the first search folder that
    // holds it, or an empty string.
    QString bookPath(const QString &name) const;
    // The first book, in search order, whose front page has the anchor, or
    // an empty string.
    QString bookWithAnchor(const QString &anchor) const;

private:
    QVariantMap m_info;
    QStringList m_searchDirs;
};
