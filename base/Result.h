#pragma once

#include <QString>
#include <optional>
#include <utility>

// A value or the reason there is none, for everything the program reads from files (movies,
// sounds, screen descriptions). Files are untrusted; failing to read one is an ordinary
// outcome, not an exception.
template <class T>
class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    static Result failure(QString reason)
    {
        Result r;
        r.m_error = std::move(reason);
        return r;
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    T& value() { return *m_value; }
    const T& value() const { return *m_value; }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }
    const QString& error() const { return m_error; }

private:
    Result() = default;
    std::optional<T> m_value;
    QString m_error;
};
