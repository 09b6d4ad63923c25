// The main window's lifecycle, settings, options, the 3D question and the edit menu, on the
// offscreen platform with settings in a temporary INI file.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTextBrowser>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "ui/app_setup.h"
#include "ui/calc_page.h"
#include "ui/help_window.h"
#include "ui/info_windows.h"
#include "ui/main_form.h"
#include "ui/options_form.h"
#include "ui/plane_page.h"
#include "ui/surface_page.h"
#include "plot/three_dim_graphiq.h"
#include "calc/calc_session.h"
#include "ui/document_prompts.h"
#include "ui/qsettings_store.h"
#include "ui/quest_dial.h"
#include "ui/workplace_menu.h"
#include "ui/up_down.h"
#include "controls.h"

using namespace kq;

class MainFormTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString file;

    std::unique_ptr<TMainForm> Open() {
        auto form = std::make_unique<TMainForm>(std::make_unique<QSettingsStore>(file));
        form->confirmClose = [](QWidget*) { return true; };
        form->ask3D = [](QWidget*) { return true; };
        return form;
    }
    QVariant Stored(const QString& key) { return QSettings(file, QSettings::IniFormat).value(key); }

private slots:
    void init() {
        file = dir.path() + "/KXQuantorium.conf";
        QFile::remove(file);
    }

    void firstRunCreatesTheSettings() {
        auto form = Open();
        QCOMPARE(Stored("Place/OpenedFile").toString(), QString("ForFuture"));
        QCOMPARE(Stored("Options/System").toInt(), 10);
        QCOMPARE(Stored("Window/Page").toInt(), 0);
        QCOMPARE(form->Settings().calcRounding, -1);
    }

    void closingWithYesSavesAndWithNoWritesNothing() {
        {
            auto form = Open();
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            form->findChild<QTabWidget*>("Pages")->setCurrentIndex(2);
            form->Settings().calcRounding = 4;
            form->confirmClose = [](QWidget*) { return false; };
            QVERIFY(!form->close());
            QCOMPARE(Stored("Window/Page").toInt(), 0);  // nothing written
            QCOMPARE(Stored("Options/ReduceCalc").toInt(), -1);
            form->confirmClose = [](QWidget*) { return true; };
            QVERIFY(form->close());
            QCOMPARE(Stored("Window/Page").toInt(), 2);
            QCOMPARE(Stored("Options/ReduceCalc").toInt(), 4);
        }
        auto again = Open();
        QCOMPARE(again->CurrentPage(), 2);
        QCOMPARE(again->findChild<QTabWidget*>("Pages")->currentIndex(), 2);
        QCOMPARE(again->Session().Engine().Rounding(), 4);
    }

    void startsOnGraphsWhen3DIsOff() {
        {
            QSettings s(file, QSettings::IniFormat);
            s.setValue("Window/Page", 1);
            s.setValue("Window/WindowState", 0);
            for (const char* k : {"Window/Left", "Window/Top"}) s.setValue(k, 50);
            s.setValue("Window/Width", 700);
            s.setValue("Window/Height", 500);
            s.setValue("Options/Trigonometry", true);
            s.setValue("Options/ShowSpec", false);
            s.setValue("Options/ShowQuest", false);
            s.setValue("Options/ReduceCalc", 2);
            s.setValue("Options/ReduceGraph", -1);
            s.setValue("Options/System", 16);
        }
        auto form = Open();
        QCOMPARE(form->CurrentPage(), 0);
        QVERIFY(!form->findChild<QTabWidget*>("Pages")->isTabVisible(1));
        QVERIFY(form->Session().Engine().Degrees());
        QVERIFY(form->Plane().Renderer().Degrees());
        QCOMPARE(form->Session().Engine().Base(), 16);
        QCOMPARE(form->geometry().width(), 700);
    }

    void maximisedWritesOnlyPageAndState() {
        Open();  // a complete set of settings, as after the first run
        {
            QSettings s(file, QSettings::IniFormat);
            s.setValue("Window/Left", 321);
        }
        auto form = Open();
        form->showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(form->close());
        QCOMPARE(Stored("Window/WindowState").toInt(), 2);
        QCOMPARE(Stored("Window/Left").toInt(), 321);
    }

    void damagedSettingsNeverStopTheProgram() {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Window]\nPage=zwei\nWindowState=\x01\x02\nLeft=-99999999999\n[Options]\nSystem=@Variant(\\0\\0)\n\xff\xfe garbage\n");
        f.close();
        auto form = Open();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->CurrentPage(), 0);
        QCOMPARE(Stored("Window/Page").toInt(), 0);  // rewritten with what is in force
    }

    void optionsApplyAtOnceAndCancelKeepsThem() {
        auto form = Open();
        form->show();
        TOptionsForm& options = form->Options();
        const kq::test::OptionsControls c(&options);
        QTimer::singleShot(0, &options, [&] {
            QVERIFY(!c.CheckBox1->isChecked());  // -1 loads as unchecked
            c.CheckBox1->click();
            QCOMPARE(form->Session().Engine().Rounding(), 2);
            c.UpDown1->Step(+1);
            QCOMPARE(form->Session().Engine().Rounding(), 3);
            c.CheckBox2->click();
            c.Edit2->setText("12");
            c.RadioButton1->click();
            QVERIFY(form->Session().Engine().Degrees());
            QVERIFY(form->Plane().Renderer().Degrees());
            c.CheckBox3->click();
            QVERIFY(!form->findChild<QTabWidget*>("Pages")->isTabVisible(1));
            c.Button2->click();  // "Отмена" keeps all of it
        });
        form->OpenOptions();
        QCOMPARE(form->Settings().calcRounding, 3);
        QCOMPARE(form->Settings().graphRounding, 12);
        QVERIFY(form->Settings().degrees);
        QVERIFY(!form->Settings().show3D);
        // Opened again, the dialog shows the state; loading echoes nothing.
        QTimer::singleShot(0, &options, [&] {
            QVERIFY(c.CheckBox1->isChecked());
            QCOMPARE(c.Edit1->text(), QString("3"));
            QVERIFY(c.RadioButton1->isChecked());
            QVERIFY(!c.CheckBox3->isChecked());
            c.CheckBox1->click();  // unchecking means no rounding
            c.Button1->click();
        });
        form->OpenOptions();
        QCOMPARE(form->Settings().calcRounding, -1);
        QVERIFY(form->close());
        QCOMPARE(Stored("Options/ReduceCalc").toInt(), -1);
        QCOMPARE(Stored("Options/ShowSpec").toBool(), false);
    }

    // "Точные функции" reach every translator the window uses, and are kept between runs.
    void exactFunctionsReachEveryFormula() {
        const long double doublePi = static_cast<long double>(static_cast<double>(3.14159265358979323846264338327950288L));
        const long double exactPi = 3.14159265358979323846264338327950288L;
        const auto values = [](TMainForm& f) {
            std::vector<long double> v;
            Graphiq& plane = f.Plane().Renderer();
            plane.SetFormula("pi");
            plane.Reserve(12);  // list translators made after the option follow it too
            plane.SetListFormula(12, "pi");
            plane.SetListCount(12);
            for (int index : {0, 12}) {
                long double y = 0;
                if (plane.Evaluate(0, index, y) == EvalStatus::Ok) v.push_back(y);
            }
            f.Session().Engine().Translate("pi");
            long double y = 0;
            if (f.Session().Engine().Formula().TryValue(1, 0, y) == EvalStatus::Ok) v.push_back(y);
            return v;
        };
        {
            auto form = Open();
            form->show();
            QCheckBox* box = form->Options().findChild<QCheckBox*>("ExactFunctions");
            QVERIFY(box);
            QCOMPARE(box->text(), QString("Точные функции"));
            QVERIFY(!form->Settings().exactFunctions);
            QCOMPARE(values(*form), (std::vector<long double>{doublePi, doublePi, doublePi}));
            QVERIFY(!form->Surface().Surface().ExactFunctions());
            QTimer::singleShot(0, &form->Options(), [&] {
                QVERIFY(!box->isChecked());
                box->click();
                form->Options().findChild<QPushButton*>("Button1")->click();
            });
            form->OpenOptions();
            QVERIFY(form->Settings().exactFunctions);
            QCOMPARE(values(*form), (std::vector<long double>{exactPi, exactPi, exactPi}));
            QVERIFY(form->Surface().Surface().ExactFunctions());
            QVERIFY(form->close());
            QCOMPARE(Stored("Options/ExactFunctions").toBool(), true);
        }
        auto again = Open();
        QVERIFY(again->Settings().exactFunctions);
        QVERIFY(again->Surface().Surface().ExactFunctions());
        QCOMPARE(values(*again), (std::vector<long double>{exactPi, exactPi, exactPi}));
    }

    void the3DQuestionIsAskedOnce() {
        auto form = Open();
        int asked = 0;
        form->ask3D = [&](QWidget*) {
            ++asked;
            return false;
        };
        form->show();
        auto* pages = form->findChild<QTabWidget*>("Pages");
        pages->setCurrentIndex(1);
        QCOMPARE(asked, 1);
        QVERIFY(!pages->isTabVisible(1));
        QCOMPARE(pages->currentIndex(), 0);  // "Нет" goes back to the graphs
        QVERIFY(!form->Settings().ask3D);
        QVERIFY(!form->Settings().show3D);
        // Turned back on in the options, the page comes back and nobody asks again.
        const kq::test::OptionsControls c(&form->Options());
        QTimer::singleShot(0, &form->Options(), [&] {
            QVERIFY(!c.CheckBox3->isChecked());
            c.CheckBox3->click();
            c.Button1->click();
        });
        form->OpenOptions();
        QVERIFY(pages->isTabVisible(1));
        pages->setCurrentIndex(1);
        QCOMPARE(pages->currentIndex(), 1);
        QCOMPARE(asked, 1);
    }

    void answeringYesKeepsThe3DPage() {
        auto form = Open();
        form->ask3D = [](QWidget*) { return true; };
        form->show();
        auto* pages = form->findChild<QTabWidget*>("Pages");
        pages->setCurrentIndex(1);
        QCOMPARE(pages->currentIndex(), 1);
        QVERIFY(pages->isTabVisible(1));
        QVERIFY(form->Settings().show3D);
        QVERIFY(!form->Settings().ask3D);
        QVERIFY(form->close());
        QCOMPARE(Stored("Options/ShowQuest").toBool(), false);
        QCOMPARE(Stored("Options/ShowSpec").toBool(), true);
    }

    void pageChangesAndResizesRunTheLayout() {
        auto form = Open();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const int before = form->LayoutCount();
        form->findChild<QTabWidget*>("Pages")->setCurrentIndex(2);
        QVERIFY(form->LayoutCount() > before);
        form->resize(form->minimumSize());
        QTest::qWait(10);
        const kq::test::CalcControls c(&form->Calculator());
        QVERIFY(c.FullPanel->geometry().left() >= 0);
        QVERIFY(c.FullPanel->geometry().top() > c.Panel4->geometry().bottom());
        QCOMPARE(c.SecondPanel->x() + c.SecondPanel->width() + 8, c.Panel4->width());
    }

    void editMenuWorksOnTheFocusedField() {
        auto form = Open();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QLineEdit* graph = kq::test::PlaneControls(&form->Plane()).GraphEdit;
        graph->setFocus();
        QApplication::setActiveWindow(form.get());
        QTRY_VERIFY(graph->hasFocus());
        form->CopyField();
        QCOMPARE(QApplication::clipboard()->text(), QString("cos(x^2-3)"));
        QCOMPARE(graph->cursorPosition(), graph->text().size());
        QApplication::clipboard()->setText("x");
        form->PasteIntoField();
        QCOMPARE(graph->text(), QString("cos(x^2-3)x"));
        form->ReplaceFieldByClipboard();
        QCOMPARE(graph->text(), QString("x"));
        form->CutField();
        QCOMPARE(graph->text(), QString());
        QCOMPARE(QApplication::clipboard()->text(), QString("x"));
        // Nothing focused: nothing happens.
        graph->setText("keep");
        graph->clearFocus();
        form->CutField();
        QCOMPARE(graph->text(), QString("keep"));
    }

    // The guide and the read-me open inside the program, with working links and history;
    // F1 opens the guide at the formula language.
    void helpOpensInsideTheProgram() {
        auto form = Open();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTest::keyClick(form.get(), Qt::Key_F1);
        THelpForm& help = form->Help();
        QTRY_VERIFY(help.isVisible());
        QTextBrowser& browser = help.Browser();
        QCOMPARE(browser.source().fragment(), QString("language"));
        const QString guide = browser.toPlainText();
        for (const char* word : {"Язык формул", "arcctg", "rtt<", "log<", "21s3", "FFh", "|x-|y|+1|", "sgn", "pw"})
            QVERIFY2(guide.contains(QString::fromUtf8(word)), word);
        // A link inside the guide, then back and forward.
        browser.setSource(QUrl("qrc:/help/QuantoriaHelp.html#functions"));
        QVERIFY(browser.isBackwardAvailable());
        browser.backward();
        QCOMPARE(browser.source().fragment(), QString("language"));
        QVERIFY(browser.isForwardAvailable());
        browser.forward();
        QCOMPARE(browser.source().fragment(), QString("functions"));
        // The read-me keeps its lines.
        form->ShowReadMe();
        QVERIFY(browser.source().path().endsWith("ReadMe.txt"));
        QVERIFY(browser.toPlainText().contains("\n  quantorium eval"));
        form->ShowHelp();
        QVERIFY(browser.source().fragment().isEmpty());
        QVERIFY(browser.toPlainText().contains("Содержание"));
    }

    void mailAndAbout() {
        auto form = Open();
        QList<QUrl> opened;
        form->openUrl = [&](const QUrl& url) {
            opened << url;
            return true;
        };
        form->MailAuthor();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].scheme(), QString("mailto"));
        QCOMPARE(QUrl::fromPercentEncoding(opened[0].query().toUtf8()), QString("subject=Кванториум+ "));
        // No mail program: the user is told, with the address to write to.
        form->openUrl = [](const QUrl&) { return false; };
        QString told;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            told = box->text();
            box->accept();
        });
        form->MailAuthor();
        QVERIFY2(told.contains("почтов") && told.contains("@"), qPrintable(told));
        QVERIFY(form->About().findChild<QWidget*>("Version"));
    }

    // Captions read exactly as given: the platform would append a display name to each.
    // The program's questions end in "?" with no space before it; the 3D question keeps its
    // words. Each is caught as it is shown and answered "Нет" or cancelled.
    void questionsAndTheNoPrinterMessage() {
        struct Shown {
            QString text, informative;
            QMessageBox::Icon icon = QMessageBox::NoIcon;
        };
        const auto catchBox = [](Shown& shown) {
            QTimer::singleShot(0, [&shown] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box) return;
                shown = {box->text(), box->informativeText(), box->icon()};
                box->reject();
            });
        };
        Shown close;
        catchBox(close);
        QVERIFY(!AskToClose(nullptr));
        QCOMPARE(close.text, QString("Завершить приложение?"));
        QCOMPARE(close.icon, QMessageBox::Question);

        auto form = Open();
        form->prompts = StandardPrompts();
        Shown reset;
        catchBox(reset);
        form->Workplaces().Reset();
        QCOMPARE(reset.text, QString("Вернуть все параметры к начальным установкам?"));

        TQuestDial quest;
        QStringList texts;
        for (QLabel* label : quest.findChildren<QLabel*>()) texts << label->text();
        QVERIFY2(texts.contains("Показывать панель 3D графиков или нет?"), qPrintable(texts.join(" | ")));
        for (const QString& t : texts) QVERIFY2(!t.contains(" ?"), qPrintable(t));

        // No printer: an offer, so the information icon, not the error one.
        Shown printer;
        catchBox(printer);
        QVERIFY(!StandardPrompts().offerPdf(nullptr));
        QCOMPARE(printer.text, QString("Нет принтера, установленного по умолчанию"));
        QCOMPARE(printer.informative, QString("График можно напечатать в файл PDF."));
        QCOMPARE(printer.icon, QMessageBox::Information);
    }

    void captionsAreTheProgramsOwn() {
        ConfigureApplication();
        QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
        QCOMPARE(QCoreApplication::organizationName(), QString("KX"));
        QCOMPARE(QCoreApplication::applicationName(), QString("KXQuantorium"));
    }

    void aFailureAtStartUpIsShown() {
        QString shown;
        const int status = RunReportingFailures([]() -> int { throw std::runtime_error("нет памяти"); },
                                                [&](const QString& text) { shown = text; });
        QCOMPARE(status, 1);
        QVERIFY(shown.contains("нет памяти"));
        shown.clear();
        QCOMPARE(RunReportingFailures([]() -> int { throw 7; }, [&](const QString& text) { shown = text; }), 1);
        QVERIFY(!shown.isEmpty());
        QCOMPARE(RunReportingFailures([] { return 5; }, [](const QString&) { QFAIL("nothing failed"); }), 5);
    }

    // A settings file that cannot be written: the user hears it once, the window still closes.
    void anUnwritableSettingsFileIsReported() {
        QVERIFY(QDir().mkpath(file));  // a folder where the file should be
        auto form = Open();
        QStringList reports;
        form->reportSaveFailure = [&](QWidget*, const QString& text) { reports << text; };
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(form->close());
        QCOMPARE(reports.size(), 1);
        QVERIFY2(reports[0].contains(file) && reports[0].contains("папка"), qPrintable(reports[0]));
        QDir(file).removeRecursively();
    }

    // Saved sizes and places that no screen can show are brought onto the screen.
    void anAbsurdPlaceStaysOnScreen() {
        Open();
        {
            QSettings s(file, QSettings::IniFormat);
            s.setValue("Window/Left", -99999);
            s.setValue("Window/Top", 3000);
            s.setValue("Window/Height", 999999999);
        }
        auto form = Open();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(screen.contains(form->geometry()), qPrintable(QString("%1,%2 %3x%4").arg(form->x()).arg(form->y())
                                                                  .arg(form->width()).arg(form->height())));
        QVERIFY(form->height() <= screen.height());
        QVERIFY(form->close());
        QVERIFY(Stored("Window/Height").toInt() <= screen.height());  // mended in the file too
    }

    void exitClosesLikeTheCloseButton() {
        auto form = Open();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->confirmClose = [](QWidget*) { return false; };
        form->ExitProgram();
        QVERIFY(form->isVisible());
        form->Settings().base = 8;
        form->Session().Engine().SetBase(8);
        form->confirmClose = [](QWidget*) { return true; };
        kq::test::MainControls(form.get()).N9->trigger();
        QVERIFY(!form->isVisible());
        QCOMPARE(Stored("Options/System").toInt(), 8);
    }

    void menuItemsAndCaptions() {
        auto form = Open();
        const kq::test::MainControls ui(form.get());
        QCOMPARE(ui.N12->text().remove('&'), QString("Копировать"));
        QCOMPARE(ui.N13->text().remove('&'), QString("Вырезать"));
        QCOMPARE(ui.N14->text().remove('&'), QString("Вставить"));
        QCOMPARE(ui.N15->text().remove('&'), QString("Вклеить"));
        QCOMPARE(ui.ExitButton->toolTip(), QString("Выход из программы"));
        QCOMPARE(ui.OptionsButton->toolTip(), QString("Опции"));
        QCOMPARE(form->Options().windowTitle(), QString("Опции"));
        QCOMPARE(kq::test::OptionsControls(&form->Options()).CheckBox3->toolTip(),
                 QString("Для нормальной работы при включенной данной опции необходима система на базе Intel "
                         "Pentium 100Mgz или лучше."));
    }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
