// The "3D Графики" page driven through its real widgets on the offscreen platform, where the
// canvas path shows the surface.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

#include "ui/main_form.h"
#include "ui/options_form.h"
#include "ui/surface_page.h"
#include "ui/surface_picture.h"
#include "controls.h"
#include "window_fixture.h"

using namespace kq;

class SurfacePageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> form;
    SurfacePage* page = nullptr;
    std::unique_ptr<kq::test::SurfaceControls> c;

    SurfaceView& View() { return page->Surface().View(); }
    void Wheel(int delta) {
        const QPointF at(page->View()->width() / 2.0, page->View()->height() / 2.0);
        QWheelEvent event(at, page->View()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(page->View(), &event);
    }
    // Pixels that are neither the background nor near it.
    static int Dark(const QImage& image) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 120;
        return dark;
    }

private slots:
    void init() {
        form = kq::test::OpenTestWindow();
        QVERIFY(form);
        form->findChild<QTabWidget*>("Pages")->setCurrentIndex(1);
        page = &form->Surface();
        c = std::make_unique<kq::test::SurfaceControls>(page);
        QVERIFY(QTest::qWaitForWindowExposed(page->View()));
    }
    void cleanup() { form.reset(); }

    void controlsHaveTheirNamesAndHints() {
        for (const char* name : {"SurfaceEdit", "SurfaceDoubts", "PaintBox2", "StepEdit", "PerspectiveBox",
                                 "ResetViewButton", "GridLabel", "StatusLabel", "SurfacePicture"})
            QVERIFY2(form->findChild<QWidget*>(name), name);
        QVERIFY(!page->UsesOpenGL());  // never under the offscreen platform
        QCOMPARE(page->View()->parentWidget(), static_cast<QWidget*>(c->PaintBox2));
        for (QWidget* w : {static_cast<QWidget*>(c->SurfaceEdit), static_cast<QWidget*>(c->StepEdit),
                           static_cast<QWidget*>(c->PerspectiveBox), static_cast<QWidget*>(c->ResetViewButton),
                           page->View(), static_cast<QWidget*>(c->GridLabel)})
            QVERIFY2(w->toolTip().size() > 10, qPrintable(w->objectName()));
        QCOMPARE(c->SurfaceEdit->text(), QString("cos(rt2(x*x+y*y))"));
        QCOMPARE(c->StepEdit->value(), 0.91);
        QCOMPARE(c->StepEdit->text(), QString("0.91"));  // a point whatever the language
        QVERIFY(c->PerspectiveBox->isChecked());
    }

    void firstShowReadsTheFormulaAndShowsTheGrid() {
        QCOMPARE(page->Surface().Formula(), std::string("cos(rt2(x*x+y*y))"));
        QCOMPARE(c->GridLabel->text(), QString("23 × 23 точек"));
        QVERIFY(c->StatusLabel->text().isEmpty());
        const QImage frame = page->Frame();
        QCOMPARE(frame.size(), page->View()->size() * page->View()->devicePixelRatio());
        QCOMPARE(QColor(frame.pixel(3, 3)), QColor(242, 242, 242));
        QVERIFY(Dark(frame) > 2000);
    }

    void tabOrderRunsThroughTheView() {
        QCOMPARE(c->SurfaceEdit->nextInFocusChain(), page->View());
        QWidget* w = page->View()->nextInFocusChain();
        while (w && w->focusPolicy() == Qt::NoFocus) w = w->nextInFocusChain();
        QCOMPARE(w, static_cast<QWidget*>(c->StepEdit));
        QVERIFY(page->View()->focusPolicy() & Qt::TabFocus);
    }

    void typingAFormulaRecompilesAndHoldsLowerCase() {
        c->SurfaceEdit->clear();
        QTest::keyClicks(c->SurfaceEdit, "X*Y");
        QCOMPARE(c->SurfaceEdit->text(), QString("x*y"));
        QCOMPARE(page->Surface().Formula(), std::string("x*y"));
        QCOMPARE(page->Surface().Mesh().Z(0, 0), 100.0L);
        c->SurfaceEdit->setText("ln(0-1-x*x)");
        QVERIFY(c->StatusLabel->text().startsWith("Формула не имеет значений"));
        c->SurfaceEdit->setText("1/(x-x)");
        QVERIFY(c->StatusLabel->text().endsWith("/0"));
        c->SurfaceEdit->setText("x");
        QVERIFY(c->StatusLabel->text().isEmpty());
    }

    void draggingTurnsWithoutEvaluating() {
        page->Surface().Mesh();
        const auto evaluations = page->Surface().EvaluationCount();
        const QImage before = page->Frame();
        const SurfaceView start = View();
        QWidget* v = page->View();
        QTest::mousePress(v, Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(v->cursor().shape(), Qt::ClosedHandCursor);
        for (int k = 1; k <= 10; ++k) QTest::mouseMove(v, QPoint(100 + 5 * k, 100 - 2 * k));
        QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(150, 80));
        QCOMPARE(v->cursor().shape(), Qt::OpenHandCursor);
        QCOMPARE(View().Spin(), NormalizeDegrees(start.Spin() + 50 * SurfacePage::kDegreesPerPixel));
        QCOMPARE(View().Tilt(), NormalizeDegrees(start.Tilt() - 20 * SurfacePage::kDegreesPerPixel));
        QVERIFY(page->Frame() != before);
        QCOMPARE(page->Surface().EvaluationCount(), evaluations);
        QVERIFY(v->hasFocus());  // the keys work at once after a click
        // Moving without a button pressed turns nothing.
        const SurfaceView after = View();
        QTest::mouseMove(v, QPoint(10, 10));
        QCOMPARE(View(), after);
        QTest::mousePress(v, Qt::RightButton, {}, QPoint(50, 50));
        QTest::mouseMove(v, QPoint(90, 90));
        QTest::mouseRelease(v, Qt::RightButton, {}, QPoint(90, 90));
        QCOMPARE(View(), after);
    }

    void keysTurnAndScale() {
        QWidget* v = page->View();
        v->setFocus();
        const SurfaceView start = View();
        QTest::keyClick(v, Qt::Key_Right);
        QCOMPARE(View().Spin(), NormalizeDegrees(start.Spin() + 5));
        QTest::keyClick(v, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(View().Tilt(), NormalizeDegrees(start.Tilt() - 1));
        QTest::keyClick(v, Qt::Key_Left);
        QTest::keyClick(v, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(View(), start);
        QTest::keyClick(v, Qt::Key_Plus);
        QVERIFY(View().Divisor() < start.Divisor());  // larger picture
        QTest::keyClick(v, Qt::Key_Minus);
        QTest::keyClick(v, Qt::Key_Minus);
        QVERIFY(View().Divisor() > start.Divisor());
        QTest::keyClick(v, Qt::Key_Home);
        QCOMPARE(View(), SurfaceView());
    }

    void wheelScales() {
        const QImage before = page->Frame();
        const double divisor = View().Divisor();
        Wheel(120);
        QVERIFY(View().Divisor() < divisor);
        const QImage closer = page->Frame();
        QVERIFY(Dark(closer) > Dark(before));
        Wheel(-240);
        QVERIFY(View().Divisor() > divisor);
        for (int k = 0; k < 100; ++k) Wheel(-120);
        QCOMPARE(View().Divisor(), SurfaceView::kMaxDivisor);  // never vanishes
        QVERIFY(Dark(page->Frame()) > 0);
    }

    void projectionAndResetButtons() {
        const QImage perspective = page->Frame();
        QTest::mouseClick(c->PerspectiveBox, Qt::LeftButton);
        QVERIFY(!View().Perspective());
        const QImage parallel = page->Frame();
        QVERIFY(parallel != perspective);
        page->Turn(20, 30);
        page->Zoom(2);
        QTest::mouseClick(c->ResetViewButton, Qt::LeftButton);
        QCOMPARE(View(), SurfaceView());
        QVERIFY(c->PerspectiveBox->isChecked());
        QCOMPARE(page->Frame(), perspective);
    }

    void stepAppliesAsItIsTyped() {
        c->StepEdit->setFocus();
        c->StepEdit->selectAll();
        QTest::keyClicks(c->StepEdit, "0.5");
        QCOMPARE(page->Surface().Step(), static_cast<long double>(0.5));  // no Enter needed
        QCOMPARE(c->GridLabel->text(), QString("41 × 41 точек"));
        QVERIFY(!c->StepEdit->property("doubtful").toBool());
        // On the way to 0.05 the text is no step for a moment: tinted, the last step kept.
        c->StepEdit->selectAll();
        QTest::keyClicks(c->StepEdit, "0.0");
        QCOMPARE(page->Surface().Step(), static_cast<long double>(0.5));
        QVERIFY(c->StepEdit->property("doubtful").toBool());
        QVERIFY(c->StepEdit->toolTip().contains("пока действует шаг 0.5"));
        QCOMPARE(c->StepEdit->palette().color(QPalette::Base), QColor(255, 221, 221));
        QTest::keyClicks(c->StepEdit, "5");
        QCOMPARE(page->Surface().Step(), static_cast<long double>(0.05));
        QVERIFY(!c->StepEdit->property("doubtful").toBool());
        QVERIFY(c->StepEdit->toolTip().startsWith("Шаг сетки по x и y"));
        // Fewer lines are drawn than the grid has: the label says so.
        QCOMPARE(c->GridLabel->text(), QString("401 × 401 точек, линий на рисунке: 51 × 51"));
        c->StepEdit->setValue(0.01);  // below the range: the smallest step
        QCOMPARE(page->Surface().Step(), static_cast<long double>(0.05));
        QCOMPARE(page->Surface().Mesh().Side(), 401);
        // Enter on an unfinished text gives the step in force back.
        c->StepEdit->selectAll();
        QTest::keyClicks(c->StepEdit, "0.0");
        QVERIFY(c->StepEdit->property("doubtful").toBool());
        QTest::keyClick(c->StepEdit, Qt::Key_Return);
        QVERIFY(!c->StepEdit->property("doubtful").toBool());
        QCOMPARE(c->StepEdit->text(), QString("0.05"));
    }

    void doubtfulFormulaIsNamedUnderTheField() {
        auto* line = page->findChild<QLabel*>("SurfaceDoubts");
        QVERIFY(line);
        QVERIFY(line->text().isEmpty());
        QVERIFY(line->height() > 0);  // the line is kept while empty
        c->SurfaceEdit->setText("ln(x)+foo");
        const QString doubts = QStringLiteral("Позиция 7: «foo» читается как 47");
        QCOMPARE(line->toolTip(), doubts);
        QCOMPARE(line->text(), doubts);
        QCOMPARE(line->palette().color(QPalette::WindowText), QColor(160, 0, 0));
        // The surface is what the engine makes of it all the same.
        QCOMPARE(page->Surface().Formula(), std::string("ln(x)+foo"));
        // A long line is cut with "…"; the whole of it is in the tooltip.
        c->SurfaceEdit->setText("aa+bb+cc+dd+ee+ff+gg+hh+ii+jj+kk+ll+mm+nn+oo+pp+qq+rr+ss+tt+uu+vv");
        QVERIFY(line->text().endsWith(QChar(0x2026)));
        QVERIFY(line->toolTip().contains("«vv»"));
        QVERIFY(line->fontMetrics().horizontalAdvance(line->text()) <=
                line->width());
        c->SurfaceEdit->setText("x*y");
        QVERIFY(line->text().isEmpty());
        QVERIFY(line->toolTip().isEmpty());
    }

    void cutValuesAreNotedUnderThePicture() {
        c->SurfaceEdit->setText("1/(x*x+y*y)");
        // Dark red letters at the foot of the picture.
        const QImage frame = page->Frame().convertToFormat(QImage::Format_RGB32);
        int red = 0;
        for (int y = frame.height() - 20; y < frame.height(); ++y)
            for (int x = 0; x < frame.width() / 2; ++x) {
                const QColor p(frame.pixel(x, y));
                red += p.red() > 110 && p.green() < 90 && p.blue() < 90;
            }
        QVERIFY2(red > 30, qPrintable(QString::number(red)));
        c->SurfaceEdit->setText("x*y");
        const QImage clean = page->Frame().convertToFormat(QImage::Format_RGB32);
        int none = 0;
        for (int y = clean.height() - 20; y < clean.height(); ++y)
            for (int x = 0; x < clean.width() / 2; ++x) {
                const QColor p(clean.pixel(x, y));
                none += p.red() > 110 && p.green() < 90 && p.blue() < 90;
            }
        QCOMPARE(none, 0);
    }

    void editMenuWorksOnTheFormula() {
        c->SurfaceEdit->setFocus();
        QTRY_VERIFY(c->SurfaceEdit->hasFocus());
        form->findChild<QAction*>("N13")->trigger();  // cut
        QCOMPARE(c->SurfaceEdit->text(), QString());
        QCOMPARE(QApplication::clipboard()->text(), QString("cos(rt2(x*x+y*y))"));
        form->findChild<QAction*>("N14")->trigger();  // paste
        QCOMPARE(c->SurfaceEdit->text(), QString("cos(rt2(x*x+y*y))"));
        QCOMPARE(page->Surface().Formula(), std::string("cos(rt2(x*x+y*y))"));
    }

    void optionsReachTheSurface() {
        c->SurfaceEdit->setText("sin(x)");
        const long double radians = page->Surface().Mesh().Z(21, 0);
        form->Settings().degrees = true;
        form->Settings().graphRounding = 2;
        form->ApplyOptions();
        QVERIFY(page->Surface().Degrees());
        QCOMPARE(page->Surface().Rounding(), 2);
        const long double degrees = page->Surface().Mesh().Z(21, 0);
        QVERIFY(degrees != radians);
        QCOMPARE(static_cast<double>(degrees), std::round(std::sin(9.11 * M_PI / 180) * 100) / 100);
    }

    void switchedOnAgainTheFormulaIsReadAnew() {
        auto* pages = form->findChild<QTabWidget*>("Pages");
        // The model drifted from the field (as while the page was off).
        page->Surface().SetFormula("0");
        pages->setCurrentIndex(0);
        pages->setCurrentIndex(1);
        QCOMPARE(page->Surface().Formula(), std::string("0"));  // shown again: nothing to re-read
        form->Settings().show3D = false;
        form->ApplyOptions();
        QVERIFY(!pages->isTabVisible(1));
        form->Settings().show3D = true;
        form->ApplyOptions();
        QVERIFY(pages->isTabVisible(1));
        QCOMPARE(page->Surface().Formula(), std::string("0"));  // not before the page is shown
        pages->setCurrentIndex(1);
        QCOMPARE(page->Surface().Formula(), std::string("cos(rt2(x*x+y*y))"));
    }
};

QTEST_MAIN(SurfacePageTest)
#include "surface_page_test.moc"
