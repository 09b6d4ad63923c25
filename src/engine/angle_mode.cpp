#include "engine/angle_mode.h"

namespace kq {
namespace {
bool degreesMode = false;
}

void SetDegreesMode(bool degrees) { degreesMode = degrees; }
bool DegreesMode() { return degreesMode; }
const bool* DegreesModeFlag() { return &degreesMode; }

}  // namespace kq
