#pragma once
// The byte and text rules of style files and style paths, apart from the platform so that
// they build and run natively as well.

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

// The internal names of a name resource: UTF-16 strings, least significant byte first, each
// ended by a zero unit; the list ends at the first empty string or at the resource's end. A
// last name without its zero ends at the resource's end, and a lone last byte is a unit whose
// high byte is zero, as if the resource lay in a cleared area. Nothing outside `bytes` is read.
std::vector<std::u16string> WalkNameResource(std::span<const unsigned char> bytes);

// Resolves the first reference to an environment variable (a name between two "%") in a path:
// the text in front of it, the variable's value, then the text after the closing "%" as it
// stands. `lookup` gives a variable's value, empty when it is not set; an empty name is never
// looked up and resolves to nothing. A path with fewer than two "%" comes back unchanged.
std::string ExpandEnvPath(const std::string& path,
                          const std::function<std::string(const std::string&)>& lookup);
