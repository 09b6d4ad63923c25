#include "ui/plane_undo.h"

namespace kq {

PlaneEditCommand::PlaneEditCommand(const QString& name, PlaneModel& model, PlaneEdit edit)
    : QUndoCommand(name), model_(model), edit_(std::move(edit)) {}

void PlaneEditCommand::undo() {
    edit_.Undo(model_);
    done_ = false;
}

void PlaneEditCommand::redo() {
    if (done_) return;
    edit_.Redo(model_);
    done_ = true;
}

}  // namespace kq
