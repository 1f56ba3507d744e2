#pragma once
// The names a visual style file shows to the user: the style's own, and its colour schemes
// and sizes paired with their internal names. The file is read as data, never run, and is
// released before each call returns.

#include <string>

#include "Exception.h"
#include "StringList.h"

QUILLANE_EXCEPTION_KIND(EResNotFound);

// The path with its first environment-variable reference resolved (see text/StyleText.h).
std::string ExpandEnvPath(const std::string& path);

// String 5000 of the style file; empty when the file or the string cannot be read.
std::string GetStyleDisplayName(const std::string& path);

// One item per internal name of the resource `type` #1, in its order: "internal=display"
// when string firstId + i exists and is not empty, else the bare internal name. Empty when
// the file cannot be loaded; raises EResNotFound when the resource is missing.
TStringList LoadStyleNameList(const std::string& path, const char* type, unsigned firstId);

TStringList GetColorSchemeNames(const std::string& path);  // "COLORNAMES", from 1000
TStringList GetSizeNames(const std::string& path);         // "SIZENAMES", from 3000
