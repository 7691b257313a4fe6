// The help book: opened at its anchor from the main window, found in the
// build tree or the installed data folder, and never opened from outside
// the folders Morvane searches.

#include "app/HelpBook.h"
#include "tests/support/WindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {
const QString BookKey = QStringLiteral("CFBundleHelpBookName");
const QString Anchor = QStringLiteral("acess");

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}
} // namespace

// Stands in for the desktop's viewer: records every URL Morvane opens.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void openUrl(const QUrl &url) { urls.append(url); }
};

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void helpFromWindow_data();
    void helpFromWindow();
    void opens_data();
    void opens();

private:
    QString dir(const QString &name) const { return m_root.filePath(name); }

    UrlRecorder m_viewer;
    QTemporaryDir m_root;
};

void TestHelp::initTestCase()
{
    // Nothing may reach the real desktop viewer.
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_viewer, "openUrl");
    QVERIFY(m_root.isValid());

    // build/: a book folder without its front page, and a book without the
    // anchor. data/ and other/: complete books.
    QDir().mkpath(dir("build/MacHelp.help"));
    writeFile(dir("build/Guide.help/index.html"), "<h1 id=\"start\">Guide</h1>");
    writeFile(dir("data/MacHelp.help/index.html"), "<section id=\"acess\">Installed</section>");
    QDir().mkpath(dir("data/MacHelp.help/images"));
    writeFile(dir("other/MacHelp.help/index.html"), "<a name='acess'></a>Other");
}

void TestHelp::init()
{
    m_viewer.urls.clear();
}

void TestHelp::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

void TestHelp::helpFromWindow_data()
{
    QTest::addColumn<qint64>("tag");
    QTest::newRow("menuItem") << Tag::HelpMenuItem;
    QTest::newRow("helpButton") << Tag::HelpButton;
}

// The whole way from the window to the book that the build put beside the
// test, as the application finds it beside itself.
void TestHelp::helpFromWindow()
{
    QFETCH(qint64, tag);

    WindowFixture f;
    if (auto *button = f.control(tag).as<QAbstractButton>()) {
        button->click();
    } else {
        for (QAction *item : f.window->menuItems()) {
            if (item->property(Tag::Property).toLongLong() == tag)
                item->trigger();
        }
    }

    QCOMPARE(m_viewer.urls.size(), 1);
    const QUrl url = m_viewer.urls.first();
    QCOMPARE(url.fragment(), Anchor);
    QCOMPARE(url.toLocalFile(), QCoreApplication::applicationDirPath() + "/MacHelp.help/index.html");
    QFile page(url.toLocalFile());
    QVERIFY(page.open(QIODevice::ReadOnly));
    QVERIFY(page.readAll().contains("id=\"acess\""));
    // Found by the name in the shipped info table, not only by its anchor.
    QCOMPARE(HelpBook::applicationInfo().value(BookKey).toString(), QStringLiteral("MacHelp.help"));
}

// "book" is openHtmlHelp (at the anchor), "book1" openHtmlHelp1 (the
// bundled book's front page), "page" openOnePageHtmlHelp(argument). An
// empty "opened" means nothing may open.
void TestHelp::opens_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QVariantMap>("info");
    QTest::addColumn<QStringList>("searchDirs");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("opened");

    const QVariantMap none;
    const QVariantMap named {{BookKey, QStringLiteral("MacHelp.help")}};
    const auto nameOnly = [](const char *name) { return QVariantMap {{BookKey, QString::fromLatin1(name)}}; };
    const auto row = [](const char *name, const char *method, const QVariantMap &info, const QStringList &dirs,
                         const QString &argument, const QString &opened) {
        QTest::newRow(name) << QString::fromLatin1(method) << info << dirs << argument << opened;
    };
    row("installedBook", "book", named, {"build", "data"}, {}, "data/MacHelp.help");
    row("firstFolderWins", "book", named, {"other", "data"}, {}, "other/MacHelp.help");
    row("keyMissing", "book", none, {"build", "data"}, {}, "data/MacHelp.help");
    row("keyMissingNoBookWithAnchor", "book", none, {"build"}, {}, "");
    row("namedBookMissing", "book", nameOnly("Nowhere.help"), {"build", "data"}, {}, "");
    row("nameLeavesSearchFolders", "book", nameOnly("../data/MacHelp.help"), {"build"}, {}, "");
    row("nameIsParentFolder", "book", nameOnly(".."), {"data/MacHelp.help/images"}, {}, "");
    row("book1Found", "book1", none, {"build", "data"}, {}, "data/MacHelp.help");
    row("book1NotFound", "book1", none, {"build"}, {}, "");
    row("pageRelative", "page", none, {}, "help/page.html", QDir::currentPath() + "/help/page.html");
    row("pageHashAndSpaceInName", "page", none, {}, "/tmp/my page#2?.html", "/tmp/my page#2?.html");
    row("pageEmptyPath", "page", none, {}, "", "");
}

void TestHelp::opens()
{
    QFETCH(QString, method);
    QFETCH(QVariantMap, info);
    QFETCH(QStringList, searchDirs);
    QFETCH(QString, argument);
    QFETCH(QString, opened);

    QStringList dirs;
    for (const QString &name : searchDirs)
        dirs << dir(name);
    const HelpBook book(info, dirs);
    if (method == QLatin1String("book"))
        book.openHtmlHelp();
    else if (method == QLatin1String("book1"))
        book.openHtmlHelp1();
    else
        book.openOnePageHtmlHelp(argument);

    if (opened.isEmpty()) {
        QVERIFY(m_viewer.urls.isEmpty());
        return;
    }
    QCOMPARE(m_viewer.urls.size(), 1);
    const QUrl url = m_viewer.urls.first();
    QCOMPARE(url.toLocalFile(), method == QLatin1String("page") ? opened : dir(opened) + "/index.html");
    QCOMPARE(url.hasFragment(), method == QLatin1String("book"));
    if (url.hasFragment())
        QCOMPARE(url.fragment(), Anchor);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
