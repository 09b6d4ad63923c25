#include "engine/native_code.h"

#include "engine/x87_compiler.h"

namespace kq {

bool NativeCode::Compile(const std::vector<Program::Instr>& code, const std::vector<long double>& registers,
                         std::uint32_t resultSlot, std::uint32_t limitSlot) {
    Clear();
#ifdef KQ_NATIVE_X87
    X87Code compiled;
    if (!CompileX87(code, registers, resultSlot, limitSlot, false, compiled) || !memory_.Load(compiled.bytes))
        return false;
    function_ = reinterpret_cast<Function>(const_cast<void*>(memory_.Address()));
    readsY_ = compiled.readsY;
    return true;
#else
    (void)code, (void)registers, (void)resultSlot, (void)limitSlot;
    return false;
#endif
}

NativeCode::ColumnFunction NativeCode::Column(const std::vector<Program::Instr>& code,
                                              const std::vector<long double>& registers, std::uint32_t resultSlot,
                                              std::uint32_t limitSlot) {
    if (column_ || columnTried_ || !function_) return column_;
    columnTried_ = true;
#ifdef KQ_NATIVE_X87
    X87Code compiled;
    if (CompileX87(code, registers, resultSlot, limitSlot, true, compiled) && columnMemory_.Load(compiled.bytes))
        column_ = reinterpret_cast<ColumnFunction>(const_cast<void*>(columnMemory_.Address()));
#else
    (void)code, (void)registers, (void)resultSlot, (void)limitSlot;
#endif
    return column_;
}

void NativeCode::Clear() {
    function_ = nullptr;
    column_ = nullptr;
    columnTried_ = false;
    memory_.Release();
    columnMemory_.Release();
    readsY_ = true;
}

}  // namespace kq
