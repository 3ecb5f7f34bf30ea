#pragma once

#include <QString>
#include <optional>
#include <utility>

// A value or the reason it could not be made. Errors from files travel as values.
template <typename T>
class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    static Result failure(QString reason) { return Result(std::move(reason), 0); }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *m_value; }
    T& value() & { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    const T* operator->() const { return &*m_value; }
    const QString& error() const { return m_error; }

private:
    Result(QString reason, int) : m_error(std::move(reason)) {}
    std::optional<T> m_value;
    QString m_error;
};
