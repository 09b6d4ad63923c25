#include "ui/plane_navigation.h"

#include <QAction>
#include <QWidget>
#include <cmath>

#include "plot/view_moves.h"
#include "plot/view_zoom.h"
#include "ui/paint_box.h"

namespace kq {
namespace {

// A touchpad's pixels that count as one wheel notch.
constexpr long double kPixelsPerNotch = 100;
// The arrows move the view by this share of it.
constexpr long double kKeyShare = 0.1L;

}  // namespace

PlaneNavigation::PlaneNavigation(PlaneModel& model, PaintBox* canvas, QWidget* page)
    : QObject(page), model_(model), canvas_(canvas) {
    back_ = new QAction(QStringLiteral("Назад"), page);
    back_->setObjectName("ViewBack");
    back_->setToolTip(QStringLiteral("Вернуться к прошлому виду графика (Alt+Влево)"));
    back_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    forward_ = new QAction(QStringLiteral("Вперёд"), page);
    forward_->setObjectName("ViewForward");
    forward_->setToolTip(QStringLiteral("Снова показать вид, от которого вернулись (Alt+Вправо)"));
    forward_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    // The keys act while the graph page is in front, the menu shows them and acts anywhere.
    for (QAction* a : {back_, forward_}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        page->addAction(a);
    }
    connect(back_, &QAction::triggered, this, &PlaneNavigation::GoBack);
    connect(forward_, &QAction::triggered, this, &PlaneNavigation::GoForward);
    UpdateActions();

    model_.Listen([this](const PlaneChange& change) {
        if (change.kind == PlaneChange::View) ViewChanged();
    });
    connect(canvas_, &PaintBox::mousePressedWith, this, &PlaneNavigation::Press);
    connect(canvas_, &PaintBox::mouseMoved, this, &PlaneNavigation::Move);
    connect(canvas_, &PaintBox::mouseReleased, this, [this](Qt::MouseButton button, QPoint) { Release(button); });
    connect(canvas_, &PaintBox::wheelTurned, this, &PlaneNavigation::Wheel);
    canvas_->onKey = [this](int key, Qt::KeyboardModifiers modifiers) { return Key(key, modifiers); };
}

void PlaneNavigation::Start() {
    history_.Start(model_.View());
    started_ = true;
    UpdateActions();
}

void PlaneNavigation::ViewChanged() {
    if (!started_) return;
    switch (mode_) {
        case Mode::Steps: history_.Record(model_.View()); break;
        case Mode::Gesture: history_.Record(model_.View(), gesture_); break;
        case Mode::Refit:
        case Mode::Walking: history_.Amend(model_.View()); break;
    }
    UpdateActions();
}

void PlaneNavigation::Typing(const void* source) {
    if (source != typingSource_ || history_.Current() + 1 != history_.Size()) gesture_ = NewGesture();
    typingSource_ = source;
    mode_ = Mode::Gesture;
}

void PlaneNavigation::Refitting() { mode_ = Mode::Refit; }

void PlaneNavigation::Done() { mode_ = Mode::Steps; }

void PlaneNavigation::UpdateActions() {
    back_->setEnabled(history_.CanGoBack());
    forward_->setEnabled(history_.CanGoForward());
}

// A view remembered under another shape of the canvas is refitted in 1:1 mode; otherwise it
// comes back exactly.
void PlaneNavigation::ShowTo(const ViewRect& view) {
    typingSource_ = nullptr;
    mode_ = Mode::Walking;
    model_.SetDrawnView(view);
    if (model_.OneToOne()) {
        ViewRect copy = view;
        const auto fitted = OneToOne(copy, model_.CanvasWidth(), model_.CanvasHeight());
        const long double width = std::fabs(view.xmax - view.xmin);
        if (fitted && std::fabs(std::fabs(fitted->xmax - fitted->xmin) - width) > 1e-9L * width) model_.SetView(view);
    }
    mode_ = Mode::Steps;
    UpdateActions();
}

void PlaneNavigation::GoBack() {
    if (const auto view = history_.Back()) ShowTo(*view);
    UpdateActions();
}

void PlaneNavigation::GoForward() {
    if (const auto view = history_.Forward()) ShowTo(*view);
    UpdateActions();
}

void PlaneNavigation::Press(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) {
    const bool pans = button == Qt::MiddleButton || (button == Qt::LeftButton && modifiers == Qt::ControlModifier);
    if (!pans || pan_) return;
    pan_ = Pan{button, at, model_.View()};
    gesture_ = NewGesture();
    typingSource_ = nullptr;
    canvas_->setCursor(Qt::ClosedHandCursor);
}

// The view follows from the one at the press, so the picture stays under the pointer
// however many moves come.
void PlaneNavigation::Move(QPoint at) {
    if (!pan_) return;
    const QPoint d = at - pan_->start;
    mode_ = Mode::Gesture;
    model_.SetDrawnView(PanByPixels(pan_->view, canvas_->width(), canvas_->height(), d.x(), d.y()));
    mode_ = Mode::Steps;
}

void PlaneNavigation::Release(Qt::MouseButton button) {
    if (!pan_ || button != pan_->button) return;
    pan_.reset();
    canvas_->setCursor(Qt::CrossCursor);
}

// A notch is a step of its own; a touchpad's run of small scrolls is one step.
void PlaneNavigation::Wheel(QPointF at, QPoint angleDelta, QPoint pixelDelta) {
    const bool smooth = !pixelDelta.isNull();
    const long double notches = smooth ? pixelDelta.y() / kPixelsPerNotch : angleDelta.y() / 120.0L;
    if (notches == 0) return;
    if (!smooth) {
        wheelGesture_ = 0;
    } else if (wheelGesture_ == 0 || wheelGesture_ != lastGesture_) {
        wheelGesture_ = NewGesture();
    }
    typingSource_ = nullptr;
    const ViewRect zoomed =
        ZoomAbout(model_.View(), canvas_->width(), canvas_->height(), at.x(), at.y(), WheelScale(notches));
    gesture_ = wheelGesture_;
    mode_ = smooth ? Mode::Gesture : Mode::Steps;
    // Both ranges scale alike, so a 1:1 view stays 1:1 and is taken as it is.
    model_.SetDrawnView(zoomed);
    mode_ = Mode::Steps;
}

bool PlaneNavigation::Key(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & ~(Qt::KeypadModifier | Qt::ShiftModifier)) return false;
    typingSource_ = nullptr;
    const ViewRect v = model_.View();
    switch (key) {
        case Qt::Key_Left: model_.SetDrawnView(PanByShare(v, -kKeyShare, 0)); return true;
        case Qt::Key_Right: model_.SetDrawnView(PanByShare(v, kKeyShare, 0)); return true;
        case Qt::Key_Up: model_.SetDrawnView(PanByShare(v, 0, kKeyShare)); return true;
        case Qt::Key_Down: model_.SetDrawnView(PanByShare(v, 0, -kKeyShare)); return true;
        case Qt::Key_Plus:
        case Qt::Key_Equal: model_.SetDrawnView(ZoomAboutCentre(v, 1 / kWheelStep)); return true;
        case Qt::Key_Minus: model_.SetDrawnView(ZoomAboutCentre(v, kWheelStep)); return true;
        case Qt::Key_Home: model_.SetView(PlaneModel::kStartView); return true;
        case Qt::Key_Backspace: GoBack(); return true;
        default: return false;
    }
}

}  // namespace kq
