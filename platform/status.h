#pragma once
// Results of platform operations: failures are returned, never thrown.
#include <optional>
#include <string>
#include <utility>

namespace platform {

// Success, or a failure with the system's message (cp1251) for the user.
class [[nodiscard]] Status {
public:
    static Status success() { return Status(); }
    static Status failure(std::string message) { return Status(std::move(message)); }
    // The failure of an operation on a path that does not exist.
    static Status not_found(std::string message) {
        Status status(std::move(message));
        status.not_found_ = true;
        return status;
    }

    bool ok() const { return !message_; }
    // Failed because the path does not exist (file or path not found).
    bool missing() const { return not_found_; }
    explicit operator bool() const { return ok(); }
    const std::string& message() const {
        static const std::string none;
        return message_ ? *message_ : none;
    }

private:
    Status() = default;
    explicit Status(std::string message) : message_(std::move(message)) {}
    std::optional<std::string> message_;
    bool not_found_ = false;
};

// A value, or a failure with its message.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Status failure) : failure_(std::move(failure)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    T& value() { return *value_; }
    const T& value() const { return *value_; }
    T value_or(T fallback) const { return value_ ? *value_ : std::move(fallback); }
    const std::string& message() const { return failure_.message(); }
    Status status() const { return ok() ? Status::success() : failure_; }

private:
    std::optional<T> value_;
    Status failure_ = Status::success();
};

}  // namespace platform
