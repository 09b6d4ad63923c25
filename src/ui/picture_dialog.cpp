#include "ui/picture_dialog.h"

#include <QCheckBox>
#include <algorithm>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "docs/docs_texts.h"
#include "output/picture_export.h"
#include "ui/utf8_text.h"

namespace kq {
namespace {

QSpinBox* SideBox(const char* name, int value) {
    auto* box = new QSpinBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(1, PictureDialog::kMaxSide);
    box->setValue(std::clamp(value, 1, PictureDialog::kMaxSide));
    return box;
}

}  // namespace

PictureDialog::PictureDialog(QWidget* parent, const PictureChoice& defaults, bool legendOffered)
    : QFileDialog(parent), legendOffered_(legendOffered) {
    const FileDialogSpec spec = DialogSpec(FileChoice::SavePicture);
    setWindowTitle(spec.title);
    setOption(QFileDialog::DontUseNativeDialog);
    setNameFilters(spec.filters);
    setDefaultSuffix(spec.defaultSuffix);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);

    // The picture's own settings on a row of their own under the file type.
    width_ = SideBox("PictureWidth", defaults.size.width());
    height_ = SideBox("PictureHeight", defaults.size.height());
    legend_ = new QCheckBox(Tr(kPictureLegendBox));
    legend_->setObjectName("PictureLegend");
    legend_->setToolTip(Tr(kPictureLegendHint));
    legend_->setChecked(legendOffered && defaults.legend);
    legend_->setVisible(legendOffered);
    auto* row = new QWidget;
    row->setObjectName("PictureSettings");
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    auto* times = new QLabel(QStringLiteral("×"));
    times->setObjectName("PictureTimes");
    auto* unit = new QLabel(Tr(kPictureSizeUnit));
    unit->setObjectName("PictureSizeUnit");
    line->addWidget(width_);
    line->addWidget(times);
    line->addWidget(height_);
    line->addWidget(unit);
    line->addSpacing(16);
    line->addWidget(legend_);
    line->addStretch(1);
    auto* label = new QLabel(Tr(kPictureSizeLabel));
    label->setObjectName("PictureSizeLabel");
    label->setBuddy(width_);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int r = grid->rowCount();
        grid->addWidget(label, r, 0);
        grid->addWidget(row, r, 1, 1, grid->columnCount() - 1);
    }
    setTabOrder(width_, height_);
    setTabOrder(height_, legend_);

    connect(this, &QFileDialog::filterSelected, this, [this](const QString& filter) {
        setDefaultSuffix(PictureSuffixOfFilter(filter));
        ShowExtension(filter != nameFilters().constFirst());
    });
    selectFile(Tr(kPictureDefaultName) + "." + defaultSuffix());
    if (auto* name = findChild<QLineEdit*>("fileNameEdit"))
        connect(name, &QLineEdit::editingFinished, this, [this] { ShowExtension(false); });
}

void PictureDialog::ShowExtension(bool switchFormat) {
    auto* name = findChild<QLineEdit*>("fileNameEdit");
    if (!name) return;
    const QString text = name->text().trimmed();
    if (text.isEmpty()) return;
    const QFileInfo info(text);
    const bool known = PictureFormatOf(text).has_value();
    QString shown = text;
    if (known && switchFormat) shown.chop(info.suffix().size() + 1);
    if (!known || switchFormat) shown += "." + defaultSuffix();
    if (shown != name->text()) name->setText(shown);
}

PictureChoice PictureDialog::Choice() const {
    PictureChoice choice;
    const QStringList files = selectedFiles();
    if (!files.isEmpty()) choice.path = files.constFirst();
    choice.size = QSize(width_->value(), height_->value());
    choice.legend = legendOffered_ && legend_->isChecked();
    return choice;
}

std::optional<PictureChoice> ChoosePicture(QWidget* parent, const PictureChoice& defaults, bool legendOffered) {
    PictureDialog dialog(parent, defaults, legendOffered);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    PictureChoice choice = dialog.Choice();
    if (choice.path.isEmpty()) return std::nullopt;
    return choice;
}

}  // namespace kq
