// A change of the "Графики" page's formula or list on the page's undo stack.
#pragma once

#include <QUndoCommand>

#include "plot/plane_edits.h"

namespace kq {

class PlaneEditCommand : public QUndoCommand {
public:
    // `edit` has been done already; the stack's first redo does nothing.
    PlaneEditCommand(const QString& name, PlaneModel& model, PlaneEdit edit);
    void undo() override;
    void redo() override;

private:
    PlaneModel& model_;
    PlaneEdit edit_;
    bool done_ = true;
};

}  // namespace kq
