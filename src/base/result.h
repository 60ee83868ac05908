#pragma once

#include <QString>

#include <utility>
#include <variant>

namespace tagsmith {

// An operator-facing failure. The description is the Chinese text shown to the
// operator verbatim; domain and code identify the failure for callers and tests.
struct Error {
    QString domain;
    int code = 0;
    QString description;

    bool operator==(const Error&) const = default;
};

// A value or an Error, with std::expected's member names. Errors are values
// because they cross thread hops (a worker fails, the main thread shows it).
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::move(value)) {}
    Result(Error error) : m_state(std::move(error)) {}

    bool has_value() const { return std::holds_alternative<T>(m_state); }
    explicit operator bool() const { return has_value(); }

    T& value() & { return std::get<T>(m_state); }
    const T& value() const& { return std::get<T>(m_state); }
    T&& value() && { return std::get<T>(std::move(m_state)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const { return std::get<Error>(m_state); }

private:
    std::variant<T, Error> m_state;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)), m_failed(true) {}

    bool has_value() const { return !m_failed; }
    explicit operator bool() const { return has_value(); }
    const Error& error() const { return m_error; }

private:
    Error m_error;
    bool m_failed = false;
};

} // namespace tagsmith
