#include "ui/print_set.h"

#include <QEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>

#include "docs/print_layout.h"
#include "ui/paint_box.h"
#include "ui_print_set.h"

namespace kq {

TPrintSet::TPrintSet(QPrinter& printer, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TPrintSet>()), printer_(printer) {
    ui_->setupUi(this);
    setFixedSize(435, 156);
    now = [] { return QDateTime::currentDateTime(); };
    ui_->PagePaintBox->setCursor(Qt::ArrowCursor);
    ui_->PagePaintBox->setMinimumSize(0, 0);
    // The preview is drawn into the paint box's own bitmap, then shown.
    ui_->PagePaintBox->onPaint = [this](QPainter& painter, QSize) {
        DrawPreview(painter, printer_, subject_, Options(), now());
    };
    connect(ui_->TrackBar1, &QSlider::valueChanged, this, &TPrintSet::UpdatePreview);
    connect(ui_->TrackBar1, &QSlider::valueChanged, this, &TPrintSet::ShowPercent);
    ShowPercent();
    connect(ui_->Edit1, &QLineEdit::textChanged, this, &TPrintSet::UpdatePreview);
    for (QCheckBox* box : {ui_->CheckBox1, ui_->CheckBox2, ui_->CheckBox3, ui_->CheckBox4})
        connect(box, &QCheckBox::toggled, this, &TPrintSet::UpdatePreview);
    connect(ui_->Button1, &QPushButton::clicked, this, &TPrintSet::PrintAndClose);
    connect(ui_->PdfButton, &QPushButton::clicked, this, &TPrintSet::PrintToPdfAndClose);
    connect(ui_->Button3, &QPushButton::clicked, this, &TPrintSet::OpenPageSetup);
    connect(ui_->Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TPrintSet::~TPrintSet() = default;

void TPrintSet::SetSubject(PrintSubject subject) {
    subject_ = std::move(subject);
    // The surface always prints as it is shown: no axes to switch off.
    ui_->CheckBox3->setEnabled(!subject_.surface);
    UpdatePreview();
}

PrintOptions TPrintSet::Options() const {
    PrintOptions o;
    o.percent = ui_->TrackBar1->value();
    o.description = ui_->CheckBox1->isChecked();
    o.extraText = ui_->CheckBox2->isChecked();
    o.text = ui_->Edit1->text();
    o.axes = ui_->CheckBox3->isChecked();
    o.stamp = ui_->CheckBox4->isChecked();
    return o;
}

void TPrintSet::UpdatePreview() {
    const std::optional<PreviewShape> shape = PreviewPageShape(printer_.width(), printer_.height());
    previewPage_ = shape ? QSize(shape->width, shape->height) : QSize();
    if (shape) {
        ui_->Panel2->resize(shape->width, shape->height);
        ui_->TrackBar1->resize(PreviewTrackBarWidth(*shape), ui_->TrackBar1->height());
    }
    ui_->PagePaintBox->Invalidate();
}

void TPrintSet::ShowPercent() {
    ui_->PercentLabel->setText(QStringLiteral("%1 %").arg(ui_->TrackBar1->value()));
}

void TPrintSet::PrintAndClose() {
    if (!print || print(Options())) accept();
}

void TPrintSet::PrintToPdfAndClose() {
    if (printToPdf && printToPdf(Options())) accept();
}

void TPrintSet::OpenPageSetup() {
    QPageSetupDialog dialog(&printer_, this);
    dialog.exec();
    UpdatePreview();
}

void TPrintSet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    UpdatePreview();
}

void TPrintSet::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) UpdatePreview();
}

}  // namespace kq
