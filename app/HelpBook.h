#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

// Morvane's help book, an HTML folder "MacHelp.help" whose index page is
// the book's front page. It is looked for beside the executable (a build
// tree) and then in Morvane's installed data folder.
//
// A book or page that is not there opens nothing. A page that no viewer of
// the desktop takes (no browser is set for HTML) is handed back to the
// caller, which shows it in Morvane's own help window.
class HelpBook
{
public:
    // The application's info table, from the resource :/morvane/Info.json;
    // empty when the resource is missing or unreadable.
    static QVariantMap applicationInfo();
    // Beside the executable first, then the installed data folder.
    static QStringList defaultSearchDirs();

    explicit HelpBook(QVariantMap info = applicationInfo(), QStringList searchDirs = defaultSearchDirs());

    // Whether the desktop has a program set for HTML pages (xdg-mime), which
    // xdg-open would hand a page to. Without one, xdg-open fails after
    // QDesktopServices has already answered that it started.
    static bool desktopHasHtmlViewer();

    // Each of these answers the page it found when no viewer took it, or an
    // empty URL when a viewer did or there was no page.
    // Opens the book named under "CFBundleHelpBookName" in the info table at
    // its anchor "acess".
    QUrl openHtmlHelp() const;
    // Opens the front page of the "MacHelp.help" folder.
    QUrl openHtmlHelp1() const;
    // Opens one file of the help, or any other file, in the desktop's viewer.
    QUrl openOnePageHtmlHelp(const QString &path) const;

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
