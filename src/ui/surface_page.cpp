#include "ui/surface_page.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>

#include "plot/formula_doubts.h"
#include "plot/surface_grid_text.h"
#include "ui/field_marks.h"
#include "ui/surface_gl_view.h"
#include "ui/surface_picture.h"
#include "ui_surface_page.h"

namespace kq {

SurfacePage::SurfacePage(ThreeDimGraphiq& surface, QWidget* parent, bool useOpenGL)
    : QWidget(parent), ui_(std::make_unique<Ui::SurfacePage>()), surface_(surface) {
    ui_->setupUi(this);
    // Numbers in the C notation whatever the system's language.
    ui_->StepEdit->setLocale(QLocale::c());
    ui_->StepEdit->installEventFilter(this);

    // OpenGL views crash the offscreen platform: they are only made where they can work.
    InstallView(useOpenGL && SurfaceGlView::Available());
    turningRest_ = new QTimer(this);
    turningRest_->setSingleShot(true);
    turningRest_->setInterval(250);
    connect(turningRest_, &QTimer::timeout, this, [this] {
        if (!dragging_) SetTurning(false);
    });

    surface_.SetStep(ui_->StepEdit->value());
    surface_.View().SetPerspective(ui_->PerspectiveBox->isChecked());
    surface_.SetFormula(ui_->SurfaceEdit->text().toStdString());

    connect(ui_->SurfaceEdit, &QLineEdit::textChanged, this, &SurfacePage::ApplyFormula);
    connect(ui_->SurfaceEdit, &QLineEdit::textChanged, this, &SurfacePage::ShowFormulaDoubts);
    KeepLowerCase(ui_->SurfaceEdit);
    // The doubts keep their line while there are none, so the picture does not jump; they are
    // written in the dark red of the graph page's.
    ui_->SurfaceDoubts->setMinimumHeight(ui_->SurfaceDoubts->fontMetrics().height());
    QPalette doubts = ui_->SurfaceDoubts->palette();
    doubts.setColor(QPalette::WindowText, QColor(160, 0, 0));
    ui_->SurfaceDoubts->setPalette(doubts);
    ui_->SurfaceDoubts->installEventFilter(this);
    ShowFormulaDoubts();
    // Every acceptable step as it is typed; other texts only tint the field.
    stepTip_ = ui_->StepEdit->toolTip();
    connect(ui_->StepEdit, &QDoubleSpinBox::valueChanged, this, &SurfacePage::ApplyStep);
    // The box itself tells only of acceptable texts; its editor tells of every one, except when
    // the box gives the step in force back on Enter or on leaving the field.
    connect(ui_->StepEdit->findChild<QLineEdit*>(), &QLineEdit::textChanged, this, &SurfacePage::MarkStep);
    connect(ui_->StepEdit, &QDoubleSpinBox::editingFinished, this, &SurfacePage::MarkStep);
    connect(ui_->PerspectiveBox, &QCheckBox::toggled, this, &SurfacePage::ApplyProjection);
    connect(ui_->ResetViewButton, &QPushButton::clicked, this, &SurfacePage::ResetView);
}

SurfacePage::~SurfacePage() = default;

QLineEdit* SurfacePage::FormulaField() const { return ui_->SurfaceEdit; }

QSize SurfacePage::PictureSize() const { return view_ ? view_->size() : ui_->PaintBox2->size(); }

QFont SurfacePage::PictureFont() const { return view_ ? view_->font() : ui_->PaintBox2->font(); }

void SurfacePage::InstallView(bool openGL) {
    openGL_ = openGL;
    if (openGL_) {
        auto* gl = new SurfaceGlView(surface_, ui_->PaintBox2);
        // A driver that gives a context but cannot run the view: the canvas path takes over.
        connect(gl, &SurfaceGlView::unusable, this, &SurfacePage::UseCanvasPath, Qt::QueuedConnection);
        view_ = gl;
    } else {
        view_ = new SurfacePicture(surface_, ui_->PaintBox2);
    }
    view_->setObjectName(openGL_ ? "SurfaceGL" : "SurfacePicture");
    view_->setFocusPolicy(Qt::StrongFocus);
    view_->setCursor(Qt::OpenHandCursor);
    view_->setToolTip(ui_->PaintBox2->toolTip());
    view_->setMinimumSize(60, 60);
    ui_->PaintBox2->layout()->addWidget(view_);
    view_->installEventFilter(this);
    setTabOrder(ui_->SurfaceEdit, view_);
    setTabOrder(view_, ui_->StepEdit);
}

void SurfacePage::UseCanvasPath() {
    if (!openGL_) return;
    qWarning("quantorium: OpenGL view unusable here; the surface is drawn without OpenGL");
    const bool focused = view_->hasFocus();
    view_->removeEventFilter(this);
    view_->hide();
    view_->deleteLater();
    dragging_ = false;
    InstallView(false);
    view_->show();
    if (focused) view_->setFocus();
}

QImage SurfacePage::Frame() {
    if (openGL_) return static_cast<SurfaceGlView*>(view_)->grabFramebuffer();
    return view_->grab().toImage();
}

void SurfacePage::Repaint() {
    view_->update();
    if (isVisible()) ShowGridState();
}

void SurfacePage::ApplyFormula() {
    surface_.SetFormula(ui_->SurfaceEdit->text().toStdString());
    Repaint();
}

void SurfacePage::ApplyStep() {
    surface_.SetStep(ui_->StepEdit->value());
    Repaint();
}

void SurfacePage::MarkStep() {
    const QString problem =
        ui_->StepEdit->hasAcceptableInput() ? QString() : QString::fromStdString(BadStepText(surface_.Step()));
    MarkDoubtful(ui_->StepEdit, problem, stepTip_);
}

void SurfacePage::ShowFormulaDoubts() {
    doubts_ = QString::fromStdString(FormulaDoubts(ui_->SurfaceEdit->text().toStdString()));
    QLabel* line = ui_->SurfaceDoubts;
    line->setText(line->fontMetrics().elidedText(doubts_, Qt::ElideRight, line->width()));
    line->setToolTip(doubts_);
}

void SurfacePage::ApplyProjection() {
    surface_.View().SetPerspective(ui_->PerspectiveBox->isChecked());
    view_->update();
}

void SurfacePage::ResetView() {
    surface_.View().Reset();
    // The check box follows the view quietly: one drawing is enough.
    const QSignalBlocker block(ui_->PerspectiveBox);
    ui_->PerspectiveBox->setChecked(surface_.View().Perspective());
    view_->update();
}

void SurfacePage::Turn(double tilt, double spin) {
    surface_.View().Turn(tilt, spin);
    view_->update();
}

void SurfacePage::Zoom(double factor) {
    surface_.View().Zoom(factor);
    view_->update();
}

void SurfacePage::SetTurning(bool turning) {
    if (openGL_) static_cast<SurfaceGlView*>(view_)->SetTurning(turning);
}

void SurfacePage::TurnedByKeyOrWheel() {
    SetTurning(true);
    turningRest_->start();
}

void SurfacePage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ShowGridState();
    // A context the widget could not make leaves it blank without a word: checked once shown.
    QTimer::singleShot(0, this, [this] {
        if (openGL_ && view_->isVisible() && !static_cast<SurfaceGlView*>(view_)->isValid()) UseCanvasPath();
    });
}

// The grid's size, and why nothing is drawn when no point has a value.
void SurfacePage::ShowGridState() {
    const SurfaceMesh& mesh = surface_.Mesh();
    ui_->GridLabel->setText(QString::fromStdString(GridSizeText(mesh.Intervals(), surface_.Geometry().lineStride)));
    QString status;
    if (mesh.DefinedCount() == 0) {
        const QString reason = QString::fromStdString(MessageOf(mesh.FirstFailure()));
        status = QStringLiteral("Формула не имеет значений на сетке") + (reason.isEmpty() ? "" : ": " + reason);
    }
    ui_->StatusLabel->setText(status);
    ui_->StatusLabel->setToolTip(status);
}

bool SurfacePage::HandleKey(const QKeyEvent& key) {
    const double step = key.modifiers() & Qt::ShiftModifier ? kDegreesPerFineKey : kDegreesPerKey;
    switch (key.key()) {
        case Qt::Key_Left: Turn(0, -step); return true;
        case Qt::Key_Right: Turn(0, step); return true;
        case Qt::Key_Up: Turn(-step, 0); return true;
        case Qt::Key_Down: Turn(step, 0); return true;
        case Qt::Key_Plus:
        case Qt::Key_Equal: Zoom(1 / kZoomStep); return true;
        case Qt::Key_Minus:
        case Qt::Key_Underscore: Zoom(kZoomStep); return true;
        case Qt::Key_Home: ResetView(); return true;
        default: return false;
    }
}

// Dragging with the left button turns the surface the way the hand moves: sideways about the
// vertical axis, up and down about the horizontal one.
bool SurfacePage::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the step field takes the typed step, before the window's own Enter sees it.
    if (watched == ui_->StepEdit && event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    if (watched == ui_->SurfaceDoubts && event->type() == QEvent::Resize) ShowFormulaDoubts();
    if (watched != view_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton) break;
            dragging_ = true;
            dragFrom_ = mouse->position().toPoint();
            view_->setCursor(Qt::ClosedHandCursor);
            view_->setFocus(Qt::MouseFocusReason);
            SetTurning(true);
            return true;
        }
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (!dragging_) break;
            const QPoint at = mouse->position().toPoint(), delta = at - dragFrom_;
            dragFrom_ = at;
            if (!delta.isNull()) Turn(delta.y() * kDegreesPerPixel, delta.x() * kDegreesPerPixel);
            return true;
        }
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton || !dragging_) break;
            dragging_ = false;
            view_->setCursor(Qt::OpenHandCursor);
            SetTurning(false);
            return true;
        }
        case QEvent::Wheel: {
            const auto* wheel = static_cast<QWheelEvent*>(event);
            const double notches = wheel->angleDelta().y() / 120.0;
            if (notches != 0) {
                TurnedByKeyOrWheel();
                Zoom(std::pow(kZoomStep, -notches));
            }
            return true;
        }
        case QEvent::KeyPress:
            if (HandleKey(*static_cast<QKeyEvent*>(event))) {
                if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Home) TurnedByKeyOrWheel();
                return true;
            }
            break;
        default: break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kq
