#pragma once
// Code page 932 text that the platform must walk: "\" (0x5C) is also the second byte of many
// double-byte characters (表, ソ, 能), so a path is split by characters, never by bytes.

#include <string>

// The text after the last "\" or "/" of a path; the whole path when it has none.
std::string FileNamePart(const std::string& path);
