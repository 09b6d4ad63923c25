// Workplace files through the main window: the "Система" menu, "Создать", saving and loading
// with the file's exact bytes, the 4-digit editors after loading, refusals and failed writes.
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

#include "app/settings_store.h"
#include "docs/workplace_codec.h"
#include "ui/calc_page.h"
#include "output/safe_file.h"
#include "ui/plane_page.h"
#include "ui/surface_page.h"
#include "output/workplace_io.h"
#include "ui/workplace_menu.h"
#include "controls.h"
#include "window_fixture.h"

using namespace kq;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList ListTexts(QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

QByteArray Bytes(const WorkplaceBytes& w) {
    return QByteArray(reinterpret_cast<const char*>(w.bytes.data()), static_cast<qsizetype>(w.bytes.size()));
}

// A formula `length` characters long that means `head`+1: cut anywhere, it would mean less.
QString LongFormula(const QString& head, int length) {
    return head + QString(length - head.size() - 2, ' ') + "+1";
}

int CheckedCount(QListWidget* list) {
    int n = 0;
    for (int i = 0; i < list->count(); ++i) n += list->item(i)->checkState() == Qt::Checked;
    return n;
}

}  // namespace

class WorkplaceTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<kq::test::PlaneControls> plane;
    std::unique_ptr<kq::test::CalcControls> calc;
    QStringList errors;     // "caption: text" of every message shown
    QStringList questions;  // "caption: question" of every question asked
    bool answer = true;
    QString chosen;  // what the file dialogs answer

    QString Path(const QString& name) { return dir.path() + "/" + name; }

    void Attach(TMainForm& f) {
        f.prompts.ask = [this](QWidget*, const QString& caption, const QString& q) {
            questions << caption + ": " + q;
            return answer;
        };
        f.prompts.showError = [this](QWidget*, const QString& caption, const QString& text) {
            errors << caption + ": " + text;
        };
        f.prompts.chooseFile = [this](QWidget*, FileChoice) { return chosen; };
    }

    // A state unlike a new window's in every field.
    void MakeEverythingDifferent() {
        form->Plane().ToggleAbsoluteMode();  // |y| mode
        plane->GraphEdit->setText("x^3-ln(x)");
        plane->FromX->setText("-2.5");
        plane->ToX->setText("7");
        plane->FromY->setText("-1");
        plane->ToY->setText("3.25");
        plane->GraphList->item(1)->setCheckState(Qt::Checked);
        QTest::qWait(1);
        calc->FirstPanel->setText("Сумма: 2+2");
        calc->SecondPanel->setText("ёлка «№5»");
        form->Session().SetActiveField(2);
    }

private slots:
    void init() {
        errors.clear();
        questions.clear();
        answer = true;
        form = kq::test::OpenTestWindow();
        QVERIFY(form);
        Attach(*form);
        plane = std::make_unique<kq::test::PlaneControls>(&form->Plane());
        calc = std::make_unique<kq::test::CalcControls>(&form->Calculator());
        // The 1:1 mode derives x from y; these tests want both ranges as given.
        if (plane->RealMagni->isChecked()) form->Plane().ToggleOneToOne();
    }
    void cleanup() { form.reset(); }

    void systemMenuAndToolButtons() {
        const kq::test::MainControls ui(form.get());
        const QList<QAction*> menus = ui.MainMenu->actions();
        QCOMPARE(menus.first()->text(), QString("&Система"));
        for (QAction* m : menus) QVERIFY2(!m->text().contains("Файл"), qPrintable(m->text()));
        QStringList items;
        for (QAction* a : ui.N1->actions()) items << (a->isSeparator() ? "-" : a->text());
        QCOMPARE(items.mid(0, 3), (QStringList{"&Создать", "&Загрузить ...", "Со&хранить"}));
        QCOMPARE(items.last(), QString("В&ыход"));
        QCOMPARE(ui.N6->actions(), (QList<QAction*>{ui.SaveWP, ui.SavePicture}));
        QCOMPARE(ui.SaveWP->text(), QString("&Рабочее место..."));
        QCOMPARE(ui.SavePicture->text(), QString("&Изображение графика..."));
        QCOMPARE(ui.N8->shortcut(), QKeySequence("Ctrl+N"));
        QCOMPARE(ui.LoadWP->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(ui.SaveWP->shortcut(), QKeySequence("Ctrl+S"));
        QCOMPARE(ui.ToolButton4->toolTip(), QString("Сохранить рабочее место"));
        QCOMPARE(ui.ToolButton5->toolTip(), QString("Загрузить рабочее место"));
        QVERIFY(ui.ToolBar1->actions().contains(ui.ToolButton4));
        QVERIFY(ui.ToolBar1->actions().contains(ui.ToolButton5));
        QCOMPARE(form->toolBarArea(ui.ToolBar1), Qt::RightToolBarArea);
        QVERIFY(!ui.ToolButton4->icon().isNull());
    }

    void theFileDialogsAreQtsOwnInRussian() {
        form->prompts = StandardPrompts();
        Attach(*form);
        form->prompts.chooseFile = StandardPrompts().chooseFile;
        for (auto [action, title, save] : {std::tuple{kq::test::MainControls(form.get()).SaveWP, "Сохранение рабочего места ...", true},
                                           std::tuple{kq::test::MainControls(form.get()).LoadWP, "Загрузить рабочее место ...", false}}) {
            bool seen = false;
            QTimer::singleShot(50, this, [&, title = title, save = save] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                seen = true;
                QCOMPARE(dialog->windowTitle(), QString(title));
                QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
                QCOMPARE(dialog->nameFilters(), QStringList{"Рабочее место Кванториума+ (*.kwp)"});
                QCOMPARE(dialog->defaultSuffix(), QString("kwp"));
                QCOMPARE(dialog->acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
                if (!save) QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
                dialog->reject();
            });
            action->trigger();
            QVERIFY(seen);
        }
        QVERIFY(errors.isEmpty());  // cancelled: nothing happens
    }

    void createAsksAndResetsFormulaAndListOnly() {
        MakeEverythingDifferent();
        const Workplace before = form->Workplaces().Capture();
        answer = false;
        kq::test::MainControls(form.get()).N8->trigger();
        QCOMPARE(questions, QStringList{"Кванториум+: Вернуть все параметры к начальным установкам?"});
        QCOMPARE(form->Workplaces().Capture(), before);

        answer = true;
        kq::test::MainControls(form.get()).N8->trigger();
        QCOMPARE(plane->GraphEdit->text(), QString("cos(x^2-3)"));
        QCOMPARE(ListTexts(plane->GraphList), (QStringList{"sin(x)", "cos(x)", "tg(x)"}));
        QCOMPARE(CheckedCount(plane->GraphList), 0);
        QCOMPARE(form->Plane().Renderer().ListCount(), 0);
        // Ranges, |y| mode and the calculator keep their values.
        const Workplace after = form->Workplaces().Capture();
        QVERIFY(after.absolute);
        QCOMPARE(after.xFrom, before.xFrom);
        QCOMPARE(after.yTo, before.yTo);
        QCOMPARE(after.firstLine, before.firstLine);
        QCOMPARE(after.activeLine, 2);
    }

    void theExampleFileByteForByte() {
        Workplace w;
        w.formula = "cos(x^2-3)";
        w.list = {"sin(x)", "cos(x)"};
        form->Workplaces().Apply(w);
        chosen = Path("example.kwp");
        kq::test::MainControls(form.get()).SaveWP->trigger();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        const QByteArray expected = QByteArray("_KXQuantorium+_1.0_!") + '\0' + "?-10?10?-5?5?cos(x^2-3)#" + '\x02' +
                                    "sin(x)$cos(x)$@@" + '\x01' + "@Eof_";
        QCOMPARE(ReadAll(chosen), expected);
        QCOMPARE(expected.size(), 68);
    }

    void saveAndLoadKeepEveryField() {
        MakeEverythingDifferent();
        const Workplace saved = form->Workplaces().Capture();
        QVERIFY(saved.absolute);
        chosen = Path("everything.kwp");
        kq::test::MainControls(form.get()).ToolButton4->trigger();
        QVERIFY(errors.isEmpty());
        // Windows-1251 in the file.
        QVERIFY(
            ReadAll(chosen).contains("\xd1\xf3\xec\xec\xe0: 2+2@\xb8\xeb\xea\xe0 \xab\xb9"
                                     "5\xbb@\x02@Eof_"));

        auto other = kq::test::OpenTestWindow();
        QVERIFY(other);
        Attach(*other);
        other->Plane().ToggleOneToOne();
        kq::test::MainControls(other.get()).ToolButton5->trigger();
        QVERIFY(errors.isEmpty());
        const Workplace loaded = other->Workplaces().Capture();
        QCOMPARE(loaded, saved);
        const kq::test::PlaneControls p(&other->Plane());
        QCOMPARE(p.Label2->text(), QString("|y| ="));
        QCOMPARE(p.FromX->text(), QString("-2.5"));
        QCOMPARE(p.ToY->text(), QString("3.25"));
        QCOMPARE(CheckedCount(p.GraphList), 0);  // loading checks nothing
        QCOMPARE(other->Plane().Renderer().ListCount(), 0);
        QCOMPARE(other->Calculator().ActiveField(), kq::test::CalcControls(&other->Calculator()).SecondPanel);

        // And back to y = with another file.
        Workplace plain = loaded;
        plain.absolute = false;
        other->Workplaces().Apply(plain);
        QCOMPARE(p.Label2->text(), QString("y ="));
        QVERIFY(!other->Plane().Renderer().AbsoluteMode());
    }

    // A workplace named on the command line opens by the name's bytes, in no encoding too.
    void aNameInNoEncodingOpens() {
        Workplace w;
        w.formula = "x*3";
        const WorkplaceBytes bytes = EncodeWorkplace(w);
        const QByteArray name = QFile::encodeName(dir.path()) + "/w\xff\xfe.kwp";
        SafeFile file(name);
        QVERIFY(file.Device());
        file.Device()->write(reinterpret_cast<const char*>(bytes.bytes.data()),
                             static_cast<qint64>(bytes.bytes.size()));
        QVERIFY(file.Commit());
        QVERIFY(form->OpenWorkplace(name));
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        QCOMPARE(kq::test::PlaneControls(&form->Plane()).GraphEdit->text(), QString("x*3"));
        ::unlink(name.constData());
    }

    void rangesShowFourDigitsAfterLoading() {
        Workplace w;
        w.xFrom = -3.14159L;
        w.xTo = 3.14159L;
        w.yFrom = -0.000123456L;
        w.yTo = 12345.6L;
        const WorkplaceBytes bytes = EncodeWorkplace(w);
        QVERIFY(QByteArray(reinterpret_cast<const char*>(bytes.bytes.data()), bytes.bytes.size())
                    .contains("?-3.14159?3.14159?-0.000123456?12345.6?"));
        chosen = Path("pi.kwp");
        WriteAll(chosen, QByteArray(reinterpret_cast<const char*>(bytes.bytes.data()), bytes.bytes.size()));
        kq::test::MainControls(form.get()).LoadWP->trigger();
        QCOMPARE(plane->FromX->text(), QString("-3.142"));
        QCOMPARE(plane->ToX->text(), QString("3.142"));
        QCOMPARE(plane->FromY->text(), QString("-0.0001235"));
        QCOMPARE(plane->ToY->text(), QString("1.235e+04"));
        // The plot's range is the one the editors show.
        const ViewRect& v = form->Plane().Renderer().View();
        QCOMPARE(static_cast<double>(v.xmin), -3.142);
        QCOMPARE(static_cast<double>(v.xmax), 3.142);
        QCOMPARE(static_cast<double>(v.ymin), -0.0001235);
        QCOMPARE(static_cast<double>(v.ymax), 12350.0);
    }

    void aBadFileChangesNothing() {
        MakeEverythingDifferent();
        const Workplace before = form->Workplaces().Capture();
        const QByteArray good = QByteArray("_KXQuantorium+_1.0_!") + '\0' + "?1?2?3?4?x#" + '\0' + "@@" + '\x01';
        const QList<QByteArray> bad{"", "_KXQuantorium+_1.0_", "_kxQuantorium+_1.0_!" + good.mid(20),
                                    "_KXQuantorium+_1.0_!\n" + good.mid(21), "_KXQuant\norium+_1.0_!"};
        for (const QByteArray& bytes : bad) {
            chosen = Path("bad.kwp");
            WriteAll(chosen, bytes);
            errors.clear();
            kq::test::MainControls(form.get()).LoadWP->trigger();
            QCOMPARE(errors, QStringList{"Ошибка чтения: Я не могу прочитать данный файл, т.к. он сохранен в "
                                         "неправильном формате."});
            QCOMPARE(form->Workplaces().Capture(), before);
        }
        errors.clear();
        QVERIFY(!form->OpenWorkplace(Path("missing.kwp")));
        QVERIFY(!form->OpenWorkplace(dir.path()));  // a folder
        // A pipe nobody writes to would block a plain read for ever.
        QVERIFY(::mkfifo(QFile::encodeName(Path("pipe.kwp")).constData(), 0600) == 0);
        QVERIFY(!form->OpenWorkplace(Path("pipe.kwp")));
        // A circle of links is named as such.
        QFile::link("loop-b.kwp", Path("loop-a.kwp"));
        QFile::link("loop-a.kwp", Path("loop-b.kwp"));
        QVERIFY(!form->OpenWorkplace(Path("loop-a.kwp")));
        QVERIFY2(errors.takeLast().contains("loop-a.kwp»: слишком много символических ссылок"),
                 qPrintable(errors.join('\n')));
        QCOMPARE(errors.size(), 3);
        QVERIFY2(errors[0].contains("missing.kwp»: нет такого файла"), qPrintable(errors[0]));
        QVERIFY2(errors[1].contains("это не обычный файл"), qPrintable(errors[1]));
        QVERIFY2(errors[2].contains("это не обычный файл"), qPrintable(errors[2]));
        // A huge file is not read into memory.
        {
            QFile huge(Path("huge.kwp"));
            QVERIFY(huge.open(QIODevice::WriteOnly));
            huge.write(good);
            QVERIFY(huge.resize(kMaxWorkplaceFileSize + 1));
        }
        QVERIFY(!form->OpenWorkplace(Path("huge.kwp")));
        QCOMPARE(errors.size(), 4);
        QVERIFY(errors[3].contains("слишком велик"));
        QCOMPARE(form->Workplaces().Capture(), before);
    }

    void whatCannotBeKeptIsNotSaved() {
        chosen = Path("kept.kwp");
        kq::test::MainControls(form.get()).SaveWP->trigger();
        const QByteArray old = ReadAll(chosen);
        QVERIFY(old.startsWith("_KXQuantorium+_1.0_!"));

        plane->GraphEdit->setText("x#1");
        calc->FirstPanel->setText("2→3");
        kq::test::MainControls(form.get()).SaveWP->trigger();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].startsWith("Ошибка записи: Рабочее место не сохранено."));
        QVERIFY(errors[0].contains("Формула графика содержит знак «#»"));
        QVERIFY(errors[0].contains("Первая строка калькулятора содержит символ «→»"));
        QCOMPARE(ReadAll(chosen), old);

        errors.clear();
        chosen = Path("never.kwp");
        kq::test::MainControls(form.get()).SaveWP->trigger();
        QCOMPARE(errors.size(), 1);
        QVERIFY(!QFile::exists(chosen));
    }

    void aFailedWriteLeavesTheOldFile() {
        // The disk fills up halfway through the new file.
        chosen = Path("full.kwp");
        WriteAll(chosen, "old contents");
        SafeFile::FailAfterBytesForTests(30);
        kq::test::MainControls(form.get()).SaveWP->trigger();
        SafeFile::FailAfterBytesForTests(-1);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith("Ошибка записи: Рабочее место не сохранено."), qPrintable(errors[0]));
        QVERIFY(errors[0].contains("Не удалось записать файл"));
        QCOMPARE(ReadAll(chosen), QByteArray("old contents"));
        QCOMPARE(QDir(dir.path()).entryList({"full.kwp*"}, QDir::Files | QDir::Hidden), QStringList{"full.kwp"});
    }

    void longTextsAndLongListsRoundTrip() {
        Workplace w = form->Workplaces().Capture();
        w.formula = QString(300, 'x').toStdString();
        w.list.clear();
        for (int i = 0; i < 200; ++i) w.list.push_back("x+" + std::to_string(i));
        w.secondLine = QString(300, QChar(0x0416)).toStdString();  // Ж
        form->Workplaces().Apply(w);
        chosen = Path("long.kwp");
        kq::test::MainControls(form.get()).SaveWP->trigger();
        QVERIFY(errors.isEmpty());
        kq::test::MainControls(form.get()).N8->trigger();
        kq::test::MainControls(form.get()).LoadWP->trigger();
        QCOMPARE(form->Workplaces().Capture(), w);
        QCOMPARE(plane->GraphList->count(), 200);

        w.list.push_back("one too many");
        w.list.resize(256, "x");
        form->Workplaces().Apply(w);
        kq::test::MainControls(form.get()).SaveWP->trigger();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("256"));
    }

    void openedBeforeTheGraphsPageIsShown() {
        Workplace w;
        w.xFrom = 1;
        w.xTo = 2;
        w.yFrom = 3;
        w.yTo = 4;
        w.formula = "x";
        const WorkplaceBytes bytes = EncodeWorkplace(w);
        WriteAll(Path("start.kwp"), QByteArray(reinterpret_cast<const char*>(bytes.bytes.data()), bytes.bytes.size()));
        // As at start-up with the calculator page current: the graphs page has never been shown.
        TMainForm fresh(std::make_unique<MemorySettingsStore>());
        Attach(fresh);
        fresh.confirmClose = [](QWidget*) { return true; };
        fresh.findChild<QTabWidget*>("Pages")->setCurrentIndex(2);
        fresh.Plane().ToggleOneToOne();
        fresh.show();
        QVERIFY(fresh.OpenWorkplace(Path("start.kwp")));
        fresh.findChild<QTabWidget*>("Pages")->setCurrentIndex(0);
        QCOMPARE(kq::test::PlaneControls(&fresh.Plane()).FromX->text(), QString("1"));
        QCOMPARE(kq::test::PlaneControls(&fresh.Plane()).ToY->text(), QString("4"));
        QCOMPARE(fresh.Plane().Renderer().View(), (ViewRect{1, 2, 3, 4}));
    }

    // Every formula field and calculator line takes a megabyte from the clipboard whole, and
    // saving keeps all of it.
    void aMegabytePasteStaysWhole() {
        const QString text = LongFormula("x", 1 << 20);
        auto* pages = form->findChild<QTabWidget*>("Pages");
        const struct {
            QLineEdit* field;
            int page;
        } fields[] = {{plane->GraphEdit, 0},
                      {kq::test::SurfaceControls(&form->Surface()).SurfaceEdit, 1},
                      {calc->FirstPanel, 2},
                      {calc->SecondPanel, 2}};
        QApplication::setActiveWindow(form.get());
        for (const auto& f : fields) {
            pages->setCurrentIndex(f.page);
            f.field->setFocus();
            QTRY_VERIFY(f.field->hasFocus());
            QApplication::clipboard()->setText(text);
            kq::test::MainControls(form.get()).N15->trigger();  // "Вклеить": the field becomes the clipboard's text
            QCOMPARE(f.field->text().size(), text.size());
            QVERIFY(f.field->text() == text);
            // No limit short of the most a line edit can hold: the engine translates any text.
            QCOMPARE(f.field->maxLength(), std::numeric_limits<int>::max());
        }
        long double value = 0;
        QCOMPARE(form->Plane().Renderer().Evaluate(2, 0, value), EvalStatus::Ok);
        QCOMPARE(static_cast<double>(value), 3.0);
        chosen = Path("pasted.kwp");
        kq::test::MainControls(form.get()).SaveWP->trigger();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        const QByteArray saved = ReadAll(chosen);
        const auto back = DecodeWorkplace(std::span(reinterpret_cast<const std::uint8_t*>(saved.constData()),
                                                    static_cast<std::size_t>(saved.size())));
        QVERIFY(back);
        QVERIFY(back->formula == text.toStdString());
        QVERIFY(back->firstLine == text.toStdString());
        QVERIFY(back->secondLine == text.toStdString());
    }

    // A 50 MB workplace loads with nothing cut and saves back byte for byte.
    void aFiftyMegabyteWorkplaceStaysWhole() {
        Workplace w;
        w.formula = LongFormula("x", 100000).toStdString();
        w.firstLine = LongFormula("2", 70000).toStdString();
        w.secondLine = LongFormula("3", 40000).toStdString();
        for (int i = 0; i < 50; ++i) w.list.push_back(LongFormula("x*" + QString::number(i), 1 << 20).toStdString());
        const QByteArray bytes = Bytes(EncodeWorkplace(w));
        QVERIFY(bytes.size() > 50 * 1024 * 1024);
        chosen = Path("big.kwp");
        WriteAll(chosen, bytes);
        kq::test::MainControls(form.get()).LoadWP->trigger();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        const Workplace loaded = form->Workplaces().Capture();
        QCOMPARE(loaded.formula.size(), w.formula.size());
        QCOMPARE(loaded.firstLine.size(), w.firstLine.size());
        QCOMPARE(loaded.secondLine.size(), w.secondLine.size());
        QVERIFY(loaded == w);
        chosen = Path("again.kwp");
        kq::test::MainControls(form.get()).SaveWP->trigger();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        QVERIFY(ReadAll(chosen) == bytes);
    }

    // A damaged file is loaded as far as it goes; then the window says that it is damaged.
    void aDamagedFileLoadsAndIsSaidToBeDamaged() {
        Workplace w;
        w.xFrom = 1;
        w.xTo = 2;
        w.yFrom = 3;
        w.yTo = 4;
        w.formula = "x^2";
        w.list = {"sin(x)", "ln(x)"};
        w.firstLine = "1+2";
        w.secondLine = "3*4";
        w.activeLine = 2;
        const QByteArray full = Bytes(EncodeWorkplace(w));
        const auto change = [&](auto edit) {
            Workplace c = w;
            edit(c);
            return c;
        };
        const struct {
            QByteArray bytes;
            Workplace loaded;
            bool damaged;
        } cases[] = {
            {full, w, false},
            {full.chopped(5), w, true},  // everything but the end marker
            {full.chopped(1), w, true},
            {full.left(full.indexOf("ln(x)") + 3), change([](Workplace& c) {
                 c.list = {"sin(x)", "ln("};
                 c.firstLine = c.secondLine = "";
                 c.activeLine = 1;
             }),
             true},
            {QByteArray(full).replace("?2?", "?two?"), change([](Workplace& c) { c.xTo = 0; }), true},
        };
        for (const auto& c : cases) {
            chosen = Path("damaged.kwp");
            WriteAll(chosen, c.bytes);
            errors.clear();
            kq::test::MainControls(form.get()).LoadWP->trigger();
            QCOMPARE(form->Workplaces().Capture(), c.loaded);
            if (c.damaged)
                QCOMPARE(errors, QStringList{"Ошибка чтения: Файл «" + chosen +
                                             "» повреждён: он обрывается до конца рабочего места; недостающие поля "
                                             "пусты."});
            else
                QCOMPARE(errors, QStringList());
        }
        // The magic alone: an empty workplace, said to be damaged.
        WriteAll(chosen, "_KXQuantorium+_1.0_!");
        errors.clear();
        QVERIFY(form->OpenWorkplace(chosen));
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("повреждён"));
        QCOMPARE(plane->GraphEdit->text(), QString());
        QCOMPARE(plane->GraphList->count(), 0);
    }

    void inOneToOneModeXFollowsTheLoadedY() {
        form->Plane().ToggleOneToOne();
        QVERIFY(plane->RealMagni->isChecked());
        Workplace w;
        w.xFrom = -100;
        w.xTo = 100;
        w.yFrom = -1;
        w.yTo = 3;
        form->Workplaces().Apply(w);
        const ViewRect& v = form->Plane().Renderer().View();
        QCOMPARE(v.ymin, -1.0L);
        QCOMPARE(v.ymax, 3.0L);
        // x is centred on the loaded range's middle, as wide as the paint box's aspect asks.
        const double w2 = plane->PaintBox1->width(), h2 = plane->PaintBox1->height();
        QVERIFY(qAbs(static_cast<double>(v.xmax - v.xmin) - 4 * w2 / h2) < 1e-3);
        QVERIFY(qAbs(static_cast<double>(v.xmax + v.xmin)) < 1e-3);
    }
};

QTEST_MAIN(WorkplaceTest)
#include "workplace_test.moc"
