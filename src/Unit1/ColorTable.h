#pragma once
// Both users' colours, one colour text per value name of the default user's colour key, in
// the store's order: item i of the colour list is drawn from element i of each array.

#include <string>
#include <vector>

extern std::vector<std::string> DefaultColors;
extern std::vector<std::string> CurrentColors;

// Rebuilds both arrays; the current user's colours are looked up by the default user's
// names. A missing or empty value gives "$00000000". A value that is not "R G B" raises
// EConvertError, leaving the elements converted so far and the rest as they were.
bool LoadColorTable();
