#pragma once
// TStringList: an ordered, unsorted list of texts whose items may read internal=display.

#include <string>
#include <string_view>
#include <vector>

using TStringList = std::vector<std::string>;

// The text before the first "=" ("=" is never a trailing byte in code page 932); empty when
// the item has none.
inline std::string_view InternalName(std::string_view item)
{
    const auto equals = item.find('=');
    return equals == item.npos ? std::string_view() : item.substr(0, equals);
}

// The text after the first "="; empty when the item has none.
inline std::string_view DisplayPart(std::string_view item)
{
    const auto equals = item.find('=');
    return equals == item.npos ? std::string_view() : item.substr(equals + 1);
}
