// The "3D Графики" page: the formula z = f(x, y) with a line under it on what a doubtful text
// is read as, the view in PaintBox2 (OpenGL on a real display, the canvas path elsewhere)
// turned by the mouse and the arrow keys and scaled by the wheel and + / −, the grid step
// (applied as it is typed), the projection and a reset of the view.
#pragma once

#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "plot/three_dim_graphiq.h"

namespace Ui {
class SurfacePage;
}

class QLineEdit;

namespace kq {

class SurfacePage : public QWidget {
    Q_OBJECT
public:
    // The surface belongs to the main window and outlives the page. `useOpenGL` false forces
    // the canvas path; true takes OpenGL where it is available.
    explicit SurfacePage(ThreeDimGraphiq& surface, QWidget* parent = nullptr, bool useOpenGL = true);
    ~SurfacePage() override;

    ThreeDimGraphiq& Surface() { return surface_; }
    // The formula field, for the edit commands.
    QLineEdit* FormulaField() const;
    // The picture's size on screen (the view inside its frame), and its labels' font.
    QSize PictureSize() const;
    QFont PictureFont() const;

    // The widget that shows the surface inside PaintBox2, and whether it is the OpenGL one.
    QWidget* View() const { return view_; }
    bool UsesOpenGL() const { return openGL_; }
    // What the view shows now (read back from OpenGL, or painted again).
    QImage Frame();

    // Degrees per pixel of dragging, per arrow key press (with Shift: per press), and the
    // scale factor of one wheel notch or + / − key.
    static constexpr double kDegreesPerPixel = 0.4;
    static constexpr double kDegreesPerKey = 5;
    static constexpr double kDegreesPerFineKey = 1;
    static constexpr double kZoomStep = 1.1;

public slots:
    // Reads the formula from the field again (the main window calls it when the page is shown
    // after 3D was switched on).
    void ApplyFormula();
    void ApplyStep();
    // Tints the step field while its text is no step; the surface keeps the last one.
    void MarkStep();
    void ApplyProjection();
    void ResetView();
    // Turns by degrees: about the horizontal axis (positive looks more from above) and about
    // the vertical axis.
    void Turn(double tilt, double spin);
    // factor > 1 shrinks the picture.
    void Zoom(double factor);
    // Draws again (after the options changed the angle unit or rounding).
    void Repaint();
    // Replaces an OpenGL view that cannot work by the canvas path.
    void UseCanvasPath();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void InstallView(bool openGL);
    bool HandleKey(const QKeyEvent& key);
    // Tells an OpenGL view that the user is turning or scaling (it may draw a quick preview);
    // keys and the wheel count as turning until they have rested a moment.
    void SetTurning(bool turning);
    void TurnedByKeyOrWheel();
    void ShowGridState();
    // The doubts about the formula, cut with "…" to the line's width (the whole in its tooltip).
    void ShowFormulaDoubts();

    std::unique_ptr<Ui::SurfacePage> ui_;
    ThreeDimGraphiq& surface_;
    QWidget* view_ = nullptr;
    bool openGL_ = false;
    bool dragging_ = false;
    QPoint dragFrom_;
    QTimer* turningRest_ = nullptr;
    QString doubts_;   // the line under the formula before it is cut to its width
    QString stepTip_;  // the step field's usual tooltip
};

}  // namespace kq
