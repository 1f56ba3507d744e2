#pragma once
// printf-style formatting into a std::string, for the message templates of the system.

#include <string>

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
