// What reading or writing a file comes to: the value, or why not in Russian (UTF-8, naming the
// file where there is one). The one way the file layer answers the window and the verbs alike.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace kq {

// The value of a write that went through.
struct Written {};

template <class T = Written>
class [[nodiscard]] FileResult {
public:
    FileResult(T value) : value_(std::move(value)) {}
    static FileResult Failure(std::string reason) {
        FileResult result;
        result.reason_ = reason.empty() ? std::string("неизвестная ошибка") : std::move(reason);
        return result;
    }

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const { return *value_; }
    T& operator*() { return *value_; }
    const T* operator->() const { return &*value_; }
    T value_or(T otherwise) const { return value_ ? *value_ : std::move(otherwise); }

    // Why it failed; empty when it did not.
    const std::string& Reason() const { return reason_; }

private:
    FileResult() = default;

    std::optional<T> value_;
    std::string reason_;
};

}  // namespace kq
