#pragma once

#include <optional>
#include <utility>
#include <variant>

namespace velandri {

// A value, or why there is none. Shaped after std::expected<T, E>, which this standard library
// does not offer yet. Free of Qt, so that the HTTP helper shares it; the program uses it as
// Result (result.h), with a Failure for E.
template <typename T, typename E>
class [[nodiscard]] BasicResult {
public:
    BasicResult(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    BasicResult(E error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool has_value() const { return state_.index() == 0; }
    explicit operator bool() const { return has_value(); }
    // Both throw std::bad_variant_access when asked for the side the result does not hold.
    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const E& error() const { return std::get<1>(state_); }

private:
    std::variant<T, E> state_;
};

// Success without a value.
template <typename E>
class [[nodiscard]] BasicResult<void, E> {
public:
    BasicResult() = default;
    BasicResult(E error) : error_(std::move(error)) {}

    bool has_value() const { return !error_; }
    explicit operator bool() const { return has_value(); }
    // Throws std::bad_optional_access when the result is a success.
    const E& error() const { return error_.value(); }

private:
    std::optional<E> error_;
};

}  // namespace velandri
