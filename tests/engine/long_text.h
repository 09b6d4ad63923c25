// Long formulas for the tests that insist on linear work: a piece written many times over.
#pragma once

#include <cstddef>
#include <string>

namespace kq::test {

inline std::string Repeat(const std::string& piece, std::size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
}

}  // namespace kq::test
