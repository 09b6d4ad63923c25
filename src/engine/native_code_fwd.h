// Forward declaration, so that the program's header need not pull in the code generator.
#pragma once

namespace kq {
class NativeCode;
}
