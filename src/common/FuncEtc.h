#pragma once
// The program's version text and the link to the maker's web site.

#include <string>

// "FileVersion" of the program's own version block, string table "041103A4". Raises an
// assertion failure when the block (line 30) or the text (line 32) cannot be read.
std::string GetFileVersionText();
