// Where the help window reads the guide and the read-me from: the files shipped beside the
// program or in an installed ../share/quantorium, the source tree's docs for a build, and the
// copy built into the program when there is none.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include "ui/help_window.h"

using namespace kq;

namespace {

void WriteFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT
private slots:
    // Which copy of a page is shown, by what an installed tree holds.
    void pageIsFound_data() {
        QTest::addColumn<QStringList>("files");  // relative to the tree's root
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");  // the file shown, relative to the root
        QTest::newRow("installed guide") << QStringList{"usr/share/quantorium/QuantoriaHelp.html"}
                                         << "QuantoriaHelp.html" << "usr/share/quantorium/QuantoriaHelp.html";
        QTest::newRow("installed read-me") << QStringList{"usr/share/quantorium/ReadMe.txt"} << "ReadMe.txt"
                                           << "usr/share/quantorium/ReadMe.txt";
        QTest::newRow("beside the program first")
            << QStringList{"usr/bin/ReadMe.txt", "usr/share/quantorium/ReadMe.txt"} << "ReadMe.txt"
            << "usr/bin/ReadMe.txt";
        QTest::newRow("another program's folder is not looked in")
            << QStringList{"usr/share/other/ReadMe.txt"} << "ReadMe.txt" << "";
    }
    void pageIsFound() {
        QFETCH(QStringList, files);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QTemporaryDir root;
        QDir().mkpath(root.filePath("usr/bin"));
        for (const QString& f : files) WriteFile(root.filePath(f), "page at " + f.toUtf8());
        const QUrl url = HelpPageUrl(root.filePath("usr/bin"), name);
        if (expected.isEmpty()) {
            // Nothing in the tree: the build's own docs, not the tree's stray copy.
            QVERIFY2(!url.toLocalFile().startsWith(root.path()), qPrintable(url.toString()));
        } else {
            QCOMPARE(url, QUrl::fromLocalFile(QFileInfo(root.filePath(expected)).canonicalFilePath()));
        }
    }

    // A page that is shipped nowhere is the one built into the program.
    void builtInCopyWhenNoneIsShipped() {
        QTemporaryDir root;
        QCOMPARE(HelpPageUrl(root.path(), "NoSuchPage.html"), QUrl("qrc:/help/NoSuchPage.html"));
    }

    // The window shows the installed pages themselves: the guide with the engine's list of
    // functions added to it, at the section asked for, and the read-me as plain lines.
    void windowShowsTheInstalledPages() {
        QTemporaryDir root;
        QDir().mkpath(root.filePath("usr/bin"));
        WriteFile(root.filePath("usr/share/quantorium/QuantoriaHelp.html"),
                  "<html><body><h1>Установленная справка</h1><p id=\"language\">Язык</p>"
                  "<!--functions--></body></html>");
        WriteFile(root.filePath("usr/share/quantorium/ReadMe.txt"), "Установленный read-me\n  quantorium eval\n");
        THelpForm help(nullptr, root.filePath("usr/bin"));
        help.ShowGuide("language");
        QTextBrowser& browser = help.Browser();
        QVERIFY(browser.source().isLocalFile());
        QVERIFY(browser.source().toLocalFile().startsWith(QFileInfo(root.path()).canonicalFilePath()));
        QCOMPARE(browser.source().fragment(), QString("language"));
        QVERIFY(browser.toPlainText().contains(QString::fromUtf8("Установленная справка")));
        QVERIFY(browser.toPlainText().contains("arcctg"));
        help.ShowReadMe();
        QVERIFY(browser.toPlainText().contains(QString::fromUtf8("Установленный read-me\n  quantorium eval")));
        QVERIFY(browser.isBackwardAvailable());
    }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
