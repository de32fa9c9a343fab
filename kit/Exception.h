#pragma once
// The program's exception: a wide message shown to the user as it stands.
#include <exception>
#include <string>

namespace kit {

class Exception : public std::exception {
public:
    explicit Exception(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const { return message_; }
    const char* what() const noexcept override { return "kit::Exception"; }
private:
    std::wstring message_;
};

// The message of any exception, for the places that show it or swallow it.
std::wstring ExceptionMessage(const std::exception& e);

} // namespace kit
