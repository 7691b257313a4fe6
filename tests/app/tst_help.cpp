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
    void shippedInfoNamesShippedBook();
    void openHtmlHelp_data();
    void openHtmlHelp();
    void openHtmlHelp1_data();
    void openHtmlHelp1();
    void openOnePageHtmlHelp_data();
    void openOnePageHtmlHelp();

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
    QTest::addColumn<bool>("throughSignal");

    QTest::newRow("menuItem") << Tag::HelpMenuItem << false;
    QTest::newRow("helpButton") << Tag::HelpButton << false;
    QTest::newRow("menuItemTriggered") << Tag::HelpMenuItem << true;
    QTest::newRow("helpButtonClicked") << Tag::HelpButton << true;
}

// The whole way from the window to the book that the build put beside the
// test, as the application finds it beside itself.
void TestHelp::helpFromWindow()
{
    QFETCH(qint64, tag);
    QFETCH(bool, throughSignal);

    WindowFixture f;
    QAction *menuItem = nullptr;
    for (QAction *item : f.window->menuItems()) {
        if (item->property(Tag::Property).toLongLong() == tag)
            menuItem = item;
    }
    auto *button = f.control(tag).as<QAbstractButton>();
    QObject *sender = menuItem ? static_cast<QObject *>(menuItem) : button;
    QVERIFY(sender);

    if (!throughSignal)
        f.delegate->promptEvent(sender);
    else if (menuItem)
        menuItem->trigger();
    else
        button->click();

    QCOMPARE(m_viewer.urls.size(), 1);
    const QUrl url = m_viewer.urls.first();
    QCOMPARE(url.fragment(), Anchor);
    QCOMPARE(url.toLocalFile(), QCoreApplication::applicationDirPath() + "/MacHelp.help/index.html");

    QFile page(url.toLocalFile());
    QVERIFY(page.open(QIODevice::ReadOnly));
    QVERIFY(page.readAll().contains("id=\"acess\""));
}

void TestHelp::shippedInfoNamesShippedBook()
{
    const QString name = HelpBook::applicationInfo().value(BookKey).toString();
    QVERIFY(!name.isEmpty());
    QCOMPARE(HelpBook().bookPath(name), QCoreApplication::applicationDirPath() + "/" + name);
}

void TestHelp::openHtmlHelp_data()
{
    QTest::addColumn<QVariantMap>("info");
    QTest::addColumn<QStringList>("searchDirs");
    QTest::addColumn<QString>("opened");

    const QVariantMap named {{BookKey, QStringLiteral("MacHelp.help")}};
    QTest::newRow("installedBook") << named << QStringList {"build", "data"} << "data/MacHelp.help";
    QTest::newRow("firstFolderWins") << named << QStringList {"other", "data"} << "other/MacHelp.help";
    QTest::newRow("keyMissing") << QVariantMap() << QStringList {"build", "data"} << "data/MacHelp.help";
    QTest::newRow("keyEmpty") << QVariantMap {{BookKey, QString()}} << QStringList {"build", "other"}
                              << "other/MacHelp.help";
    QTest::newRow("keyMissingNoBookWithAnchor") << QVariantMap() << QStringList {"build"} << "";
    QTest::newRow("namedBookMissing") << QVariantMap {{BookKey, QStringLiteral("Nowhere.help")}}
                                      << QStringList {"build", "data"} << "";
    QTest::newRow("nameLeavesSearchFolders")
        << QVariantMap {{BookKey, QStringLiteral("../data/MacHelp.help")}} << QStringList {"build"} << "";
    QTest::newRow("nameIsParentFolder") << QVariantMap {{BookKey, QStringLiteral("..")}}
                                        << QStringList {"data/MacHelp.help/images"} << "";
    QTest::newRow("noSearchFolders") << named << QStringList() << "";
}

void TestHelp::openHtmlHelp()
{
    QFETCH(QVariantMap, info);
    QFETCH(QStringList, searchDirs);
    QFETCH(QString, opened);

    QStringList dirs;
    for (const QString &name : searchDirs)
        dirs << dir(name);
    HelpBook(info, dirs).openHtmlHelp();

    if (opened.isEmpty()) {
        QVERIFY(m_viewer.urls.isEmpty());
        return;
    }
    QCOMPARE(m_viewer.urls.size(), 1);
    QCOMPARE(m_viewer.urls.first().toLocalFile(), dir(opened) + "/index.html");
    QCOMPARE(m_viewer.urls.first().fragment(), Anchor);
}

void TestHelp::openHtmlHelp1_data()
{
    QTest::addColumn<QVariantMap>("info");
    QTest::addColumn<QStringList>("searchDirs");
    QTest::addColumn<QString>("opened");

    QTest::newRow("found") << QVariantMap() << QStringList {"build", "data"} << "data/MacHelp.help";
    QTest::newRow("ignoresInfoTable") << QVariantMap {{BookKey, QStringLiteral("Guide.help")}}
                                      << QStringList {"build", "other"} << "other/MacHelp.help";
    QTest::newRow("notFound") << QVariantMap() << QStringList {"build"} << "";
}

void TestHelp::openHtmlHelp1()
{
    QFETCH(QVariantMap, info);
    QFETCH(QStringList, searchDirs);
    QFETCH(QString, opened);

    QStringList dirs;
    for (const QString &name : searchDirs)
        dirs << dir(name);
    HelpBook(info, dirs).openHtmlHelp1();

    if (opened.isEmpty()) {
        QVERIFY(m_viewer.urls.isEmpty());
        return;
    }
    QCOMPARE(m_viewer.urls.size(), 1);
    QCOMPARE(m_viewer.urls.first().toLocalFile(), dir(opened) + "/index.html");
    QVERIFY(!m_viewer.urls.first().hasFragment());
}

void TestHelp::openOnePageHtmlHelp_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("opened");

    QTest::newRow("absolutePath") << "/usr/share/doc/morvane/page.html"
                                  << "/usr/share/doc/morvane/page.html";
    QTest::newRow("relativePath") << "help/page.html" << QDir::currentPath() + "/help/page.html";
    QTest::newRow("hashAndSpaceInName") << "/tmp/my page#2?.html"
                                        << "/tmp/my page#2?.html";
    QTest::newRow("emptyPath") << ""
                               << "";
}

void TestHelp::openOnePageHtmlHelp()
{
    QFETCH(QString, path);
    QFETCH(QString, opened);

    HelpBook(QVariantMap(), QStringList()).openOnePageHtmlHelp(path);

    if (opened.isEmpty()) {
        QVERIFY(m_viewer.urls.isEmpty());
        return;
    }
    QCOMPARE(m_viewer.urls.size(), 1);
    QCOMPARE(m_viewer.urls.first().toLocalFile(), opened);
    QVERIFY(!m_viewer.urls.first().hasFragment());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
