#pragma once

#include <QString>
#include <optional>
#include <utility>
#include <variant>

namespace velandri {

// Why an operation failed, in words a user can read.
struct Failure {
    QString reason;
};

// The outcome of an operation that can fail: its value, or the Failure. Shaped after
// std::expected<T, Failure>, which this standard library does not offer yet; a Failure converts
// to any Result, so `return Failure{reason};` fails whatever the value type.
template <typename T = void>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool has_value() const { return state_.index() == 0; }
    explicit operator bool() const { return has_value(); }
    // Both throw std::bad_variant_access when asked for the side the result does not hold.
    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const Failure& error() const { return std::get<1>(state_); }

private:
    std::variant<T, Failure> state_;
};

// Success without a value.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}

    bool has_value() const { return !failure_; }
    explicit operator bool() const { return has_value(); }
    // Throws std::bad_optional_access when the result is a success.
    const Failure& error() const { return failure_.value(); }

private:
    std::optional<Failure> failure_;
};

}  // namespace velandri
