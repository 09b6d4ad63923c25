// The calculator's keypad in one table: each key's object name and cell on the grid, its
// caption, what it types and what it is for. The page makes its buttons from it; adding a key
// is one row here.
#pragma once

#include <array>

#include "calc/keypad_layout.h"

namespace kq {

enum class KeyAction {
    Type,        // appends its text at the end of the active field
    Wrap,        // wraps the active field's selection in its text and ")", or appends its text
    ClearField,  // empties the active field
    Evaluate,    // "="
};

enum class KeyLook { Plain, Bold, Warning };

struct Key {
    KeyCell cell;
    const char* caption;
    const char* typed;  // what Type and Wrap put in
    KeyAction action;
    const char* tip = "";  // the tooltip, UTF-8; "" for none (a function key's is kFunctionKeyTip)
    KeyLook look = KeyLook::Plain;
    const char* panel = "";  // the panel of the block that holds the key; "" for the block itself
};

// A function key: it puts in its name and the bracket that opens the argument; its tooltip is
// kFunctionKeyTip with that text.
constexpr Key Wrap(const char* name, int row, int column, const char* function, const char* typed, const char* panel) {
    return {{name, row, column}, function, typed, KeyAction::Wrap, "", KeyLook::Plain, panel};
}
inline constexpr const char* kFunctionKeyTip = "Вставить %1 — обернуть выделенное";

// The parts of the block that hold keys or are no keys, placed on the same grid; containers
// before what they hold.
inline constexpr KeyCell kBlockCells[] = {
    {"Panel6", 0, 0, 2, 4}, {"Panel7", 2, 0, 1, 4}, {"BaseGroup", 3, 0, 4, 4}, {"ListOfResults", 6, 4, 1, 5},
};

// clang-format off
inline constexpr Key kKeys[] = {
    // sin cos tg ctg / sec csc asin acos in Panel6, abs ln lg ( ) in Panel7
    Wrap("SinKey", 0, 0, "sin", "sin(", "Panel6"), Wrap("CosKey", 0, 1, "cos", "cos(", "Panel6"), Wrap("TgKey", 0, 2, "tg", "tg(", "Panel6"),
    Wrap("CtgKey", 0, 3, "ctg", "ctg(", "Panel6"), Wrap("SecKey", 1, 0, "sec", "sec(", "Panel6"), Wrap("CscKey", 1, 1, "csc", "csc(", "Panel6"),
    Wrap("AsinKey", 1, 2, "asin", "asin(", "Panel6"), Wrap("AcosKey", 1, 3, "acos", "acos(", "Panel6"),
    Wrap("AbsKey", 2, 0, "abs", "abs(", "Panel7"), Wrap("LnKey", 2, 1, "ln", "ln(", "Panel7"), Wrap("LgKey", 2, 2, "lg", "lg(", "Panel7"),
    {{"SpeedButton12", 2, 3}, "( )", "(", KeyAction::Wrap, "Скобка; выделенное берется в скобки", KeyLook::Plain, "Panel7"},
    // 7 8 9 / C, 4 5 6 * =, 1 2 3 -, 0 00 , +
    {{"SpeedButton15", 0, 4}, "7", "7", KeyAction::Type}, {{"SpeedButton22", 0, 5}, "8", "8", KeyAction::Type},
    {{"SpeedButton23", 0, 6}, "9", "9", KeyAction::Type}, {{"SpeedButton3", 0, 7}, "/", "/", KeyAction::Type},
    {{"SpeedButton38", 0, 8}, "C", "", KeyAction::ClearField, "Очистить активное поле", KeyLook::Warning},
    {{"SpeedButton16", 1, 4}, "4", "4", KeyAction::Type}, {{"SpeedButton21", 1, 5}, "5", "5", KeyAction::Type},
    {{"SpeedButton24", 1, 6}, "6", "6", KeyAction::Type}, {{"SpeedButton4", 1, 7}, "*", "*", KeyAction::Type},
    {{"DoThisButton", 1, 8, 3, 1}, "=", "", KeyAction::Evaluate, "Вычислить (Enter)", KeyLook::Bold},
    {{"SpeedButton17", 2, 4}, "1", "1", KeyAction::Type}, {{"SpeedButton20", 2, 5}, "2", "2", KeyAction::Type},
    {{"SpeedButton25", 2, 6}, "3", "3", KeyAction::Type}, {{"SpeedButton5", 2, 7}, "-", "-", KeyAction::Type},
    {{"SpeedButton18", 3, 4}, "0", "0", KeyAction::Type}, {{"SpeedButton19", 3, 5}, "00", "00", KeyAction::Type},
    {{"SpeedButton26", 3, 6}, ",", ",", KeyAction::Type, "Десятичная точка"}, {{"SpeedButton6", 3, 7}, "+", "+", KeyAction::Type},
    // A B C h b / D E F o s: the digits above 9 and the number suffixes
    {{"SpeedButton14", 4, 4}, "A", "A", KeyAction::Type, "Цифра A (10)"},
    {{"SpeedButton27", 4, 5}, "B", "B", KeyAction::Type, "Цифра B (11)"},
    {{"SpbC", 4, 6}, "C", "C", KeyAction::Type, "Цифра C (12)"},
    {{"SpeedButton34", 4, 7}, "h", "h", KeyAction::Type, "Шестнадцатеричное число"},
    {{"SpeedButton36", 4, 8}, "b", "b", KeyAction::Type, "Двоичное число"},
    {{"SpeedButton29", 5, 4}, "D", "D", KeyAction::Type, "Цифра D (13)"},
    {{"SpeedButton30", 5, 5}, "E", "E", KeyAction::Type, "Цифра E (14)"},
    {{"SpeedButton31", 5, 6}, "F", "F", KeyAction::Type, "Цифра F (15)"},
    {{"SpeedButton35", 5, 7}, "o", "o", KeyAction::Type, "Восьмеричное число"},
    {{"SpeedButton37", 5, 8}, "s", "s", KeyAction::Type, "Основание после s: 21s3"},
};
// clang-format on

// Every control of the block with its cell: the containers and the other parts, then the keys.
inline constexpr auto kKeyCells = [] {
    std::array<KeyCell, std::size(kBlockCells) + std::size(kKeys)> cells{};
    std::size_t n = 0;
    for (const KeyCell& c : kBlockCells) cells[n++] = c;
    for (const Key& k : kKeys) cells[n++] = k.cell;
    return cells;
}();

}  // namespace kq
