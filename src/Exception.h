#pragma once
// The program's error types. Every error carries its message text (code page 932); the
// class name is what the last-resort report prints.

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
    virtual const char* ClassName() const noexcept { return "Exception"; }
};

// Declares a kind of Exception that differs only in its class name.
#define QUILLANE_EXCEPTION_KIND(Name)                                      \
    class Name : public Exception {                                        \
    public:                                                                \
        using Exception::Exception;                                        \
        const char* ClassName() const noexcept override { return #Name; }  \
    }
