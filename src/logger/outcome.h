#pragma once

#include "logger/exchange.h"

#include <optional>

namespace logger {

// The result of a request: its value, or the notice to give the user.
template <typename T>
struct Outcome
{
    std::optional<T> value;
    FailureNotice failure;

    bool ok() const { return value.has_value(); }
    static Outcome success(T v) { return {std::move(v), {}}; }
    static Outcome failed(FailureNotice notice) { return {std::nullopt, std::move(notice)}; }
};

} // namespace logger
