// Moving about the plane graph by hand: the wheel zooms about the pointer, the middle button
// or Ctrl + left drag pans, keys pan and zoom while the graph has the focus, and every view
// is remembered for "Назад" and "Вперёд".
#pragma once

#include <QObject>
#include <QPoint>
#include <optional>

#include "plot/plane_model.h"
#include "plot/view_history.h"

class QAction;

namespace kq {

class PaintBox;

class PlaneNavigation : public QObject {
    Q_OBJECT
public:
    // The model and the paint box belong to the page, which owns this too.
    PlaneNavigation(PlaneModel& model, PaintBox* canvas, QWidget* page);

    QAction* BackAction() const { return back_; }
    QAction* ForwardAction() const { return forward_; }
    const ViewHistory& History() const { return history_; }

    // True while a drag moves the view (no zoom rectangle then).
    bool Panning() const { return pan_.has_value(); }
    // The page's first view, the start of the history.
    void Start();
    // View changes until Done() are one step, each replacing the one before: typing in one
    // range editor. A different `source` starts a new step.
    void Typing(const void* source);
    // View changes until Done() are no steps (the canvas's new shape refits the view).
    void Refitting();
    void Done();

public slots:
    void GoBack();
    void GoForward();

private:
    void ViewChanged();
    void Press(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at);
    void Move(QPoint at);
    void Release(Qt::MouseButton button);
    void Wheel(QPointF at, QPoint angleDelta, QPoint pixelDelta);
    bool Key(int key, Qt::KeyboardModifiers modifiers);
    void ShowTo(const ViewRect& view);
    void UpdateActions();
    int NewGesture() { return ++lastGesture_; }

    PlaneModel& model_;
    PaintBox* canvas_;
    ViewHistory history_;
    QAction* back_;
    QAction* forward_;
    struct Pan {
        Qt::MouseButton button;
        QPoint start;
        ViewRect view;
    };
    std::optional<Pan> pan_;
    enum class Mode { Steps, Gesture, Refit, Walking };
    Mode mode_ = Mode::Steps;
    int gesture_ = 0;
    int lastGesture_ = 0;
    const void* typingSource_ = nullptr;
    int wheelGesture_ = 0;  // a touchpad's run of small scrolls
    bool started_ = false;
};

}  // namespace kq
