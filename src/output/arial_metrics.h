// How wide and high a text is in Arial (or its metric twin where Arial is missing): the face
// that readers of the metafile pictures most likely draw it with.
#pragma once

#include <string_view>

#include "plot/canvas.h"

namespace kq {

Size ArialTextExtent(std::string_view utf8, int pixelHeight);

}  // namespace kq
