#pragma once

#include <exception>
#include <stdexcept>
#include <string>

namespace Convinience {

// The one exception type for the game's constant failure texts ("bad map
// header", "No such element number", ...). what() is exactly the text.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& text) : std::runtime_error(text) {}
    explicit Error(const char* text) : std::runtime_error(text) {}
};

// The object `from` points to as a T (a dynamic cast; T carries the const of
// From). Throws Error with the message when it is no T or `from` is null.
template <class T, class From>
T& castOrThrow(From* from, const char* message) {
    T* typed = dynamic_cast<T*>(from);
    if (!typed) throw Error(message);
    return *typed;
}

// Received command data that cannot be parsed, or names no known command.
class InvalidCommandDataException : public std::exception {
public:
    InvalidCommandDataException() = default;
    explicit InvalidCommandDataException(std::string detail) : detail_(std::move(detail)) {}
    const char* what() const noexcept override {
        return detail_.empty() ? "invalid command data" : detail_.c_str();
    }

private:
    std::string detail_;
};

// A client ID that names no client.
class ClientIDNotFoundException : public std::exception {
public:
    const char* what() const noexcept override { return "client ID not found"; }
};

}  // namespace Convinience
