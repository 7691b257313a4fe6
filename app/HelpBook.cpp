#include "app/HelpBook.h"

#include "app/Config.h"
#include "controls/Log.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

namespace {
const QString InfoResource = QStringLiteral(":/morvane/Info.json");
const QString BookNameKey = QStringLiteral("CFBundleHelpBookName");
const QString Anchor = QStringLiteral("acess");
const QString BundledBook = QStringLiteral("MacHelp.help");
const QString FrontPage = QStringLiteral("index.html");

// A book name comes from our own info table, but it is still only ever a
// folder name: it must not lead out of the search folders.
bool isPlainFolderName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/'));
}

bool pageHasAnchor(const QString &page, const QString &anchor)
{
    QFile file(page);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QRegularExpression target(
        QStringLiteral("\\b(?:id|name)\\s*=\\s*[\"']%1[\"']").arg(QRegularExpression::escape(anchor)));
    return target.match(QString::fromUtf8(file.readAll())).hasMatch();
}

// The page when no viewer took it, else an empty URL.
QUrl openInViewer(const QUrl &url)
{
    qCInfo(lcMorvane) << "Opening" << url.toString();
    if (HelpBook::desktopHasHtmlViewer() && QDesktopServices::openUrl(url))
        return {};
    qCInfo(lcMorvane) << "No viewer for HTML: showing the page in Morvane";
    return url;
}
} // namespace

QVariantMap HelpBook::applicationInfo()
{
    QFile file(InfoResource);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcMorvane) << "The application info table" << InfoResource << "is missing";
        return {};
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (!document.isObject()) {
        qCWarning(lcMorvane) << "The application info table is not readable:" << error.errorString();
        return {};
    }
    return document.object().toVariantMap();
}

bool HelpBook::desktopHasHtmlViewer()
{
    QProcess query;
    query.start(
        QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    // A shell script that reads a few files; should it hang, no viewer.
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

QStringList HelpBook::defaultSearchDirs()
{
    return {QCoreApplication::applicationDirPath(), QStringLiteral(MORVANE_DATADIR)};
}

HelpBook::HelpBook(QVariantMap info, QStringList searchDirs)
    : m_info(std::move(info))
    , m_searchDirs(std::move(searchDirs))
{
}

QUrl HelpBook::openHtmlHelp() const
{
    const QString name = m_info.value(BookNameKey).toString();
    // Asked for an anchor without a book, a help viewer looks through every
    // book it knows. Morvane does the same with the books in its search
    // folders, so a table without the key still opens its own book.
    const QString book = name.isEmpty() ? bookWithAnchor(Anchor) : bookPath(name);
    if (book.isEmpty()) {
        qCWarning(lcMorvane) << "No help book" << name << "in" << m_searchDirs;
        return {};
    }
    QUrl url = QUrl::fromLocalFile(QDir(book).filePath(FrontPage));
    url.setFragment(Anchor);
    return openInViewer(url);
}

QUrl HelpBook::openHtmlHelp1() const
{
    const QString book = bookPath(BundledBook);
    if (book.isEmpty())
        return {};
    // A folder URL would open a file manager; the front page is the book.
    return openInViewer(QUrl::fromLocalFile(QDir(book).filePath(FrontPage)));
}

QUrl HelpBook::openOnePageHtmlHelp(const QString &path) const
{
    if (path.isEmpty())
        return {};
    return openInViewer(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

QString HelpBook::bookPath(const QString &name) const
{
    if (!isPlainFolderName(name))
        return {};
    for (const QString &dir : m_searchDirs) {
        if (dir.isEmpty())
            continue;
        const QString book = QDir(dir).filePath(name);
        if (QFileInfo(QDir(book).filePath(FrontPage)).isFile())
            return QDir::cleanPath(book);
    }
    return {};
}

QString HelpBook::bookWithAnchor(const QString &anchor) const
{
    for (const QString &dir : m_searchDirs) {
        if (dir.isEmpty())
            continue;
        const QDir folder(dir);
        const QStringList books = folder.entryList({QStringLiteral("*.help")}, QDir::Dirs, QDir::Name);
        for (const QString &name : books) {
            const QString book = folder.filePath(name);
            if (pageHasAnchor(QDir(book).filePath(FrontPage), anchor))
                return QDir::cleanPath(book);
        }
    }
    return {};
}
