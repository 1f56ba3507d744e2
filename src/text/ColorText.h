#pragma once
// Colour texts: "$00" + blue + green + red in upper-case hexadecimal, the form the colour
// list draws with, made from the registry's "R G B" form.

#include <string>

#include "Exception.h"

QUILLANE_EXCEPTION_KIND(EConvertError);

// A decimal integer: an optional sign and at least one digit, within 32 bits. Anything else
// raises EConvertError "'%s' is not a valid integer value".
int StrToInt(const std::string& text);

// Converts "R G B" (single spaces). Components are taken by position between the first two
// spaces; a value without two spaces has empty components. Raises EConvertError for a
// component that is not an integer, the empty one included.
std::string RgbTextToColorText(const std::string& text);

// True when two code page 932 texts are equal but for the case of ASCII letters. Bytes are
// compared by characters, so a trailing byte that looks like a letter is never folded.
bool SameTextCp932(const std::string& a, const std::string& b);
