#pragma once
// The texts of the error reports: the full-stop rule and the last-resort report's text.

#include <string>
#include <string_view>

// Whether a code page 932 byte starts a double-byte character.
bool IsCp932LeadByte(unsigned char byte);

// The text with "." appended when its last character sorts after "." (a double-byte last
// character always does, a single-byte one when above 0x2E); the empty text stays empty.
std::string WithFullStop(std::string text);

// The last-resort report's text, at most 1023 bytes and never ending inside a double-byte
// character. "." follows a message that is not empty and does not end in ".".
std::string StartupErrorText(const char* className, const std::string& moduleName,
                             const void* place, const std::string& message);
