#include "StyleText.h"

std::vector<std::u16string> WalkNameResource(std::span<const unsigned char> bytes)
{
    std::vector<std::u16string> names;
    std::u16string name;
    for (std::size_t at = 0; at < bytes.size(); at += 2) {
        const unsigned high = at + 1 < bytes.size() ? bytes[at + 1] : 0;
        const char16_t unit = static_cast<char16_t>(bytes[at] | high << 8);
        if (unit != 0) {
            name += unit;
            continue;
        }
        if (name.empty())
            return names;
        names.push_back(std::move(name));
        name.clear();
    }
    if (!name.empty())
        names.push_back(std::move(name));
    return names;
}

// "%" is never the second byte of a code page 932 character, so a byte search is safe.
std::string ExpandEnvPath(const std::string& path,
                          const std::function<std::string(const std::string&)>& lookup)
{
    const auto open = path.find('%');
    if (open == path.npos)
        return path;
    const auto close = path.find('%', open + 1);
    if (close == path.npos)
        return path;
    const std::string name = path.substr(open + 1, close - open - 1);
    const std::string value = name.empty() ? std::string() : lookup(name);
    return path.substr(0, open) + value + path.substr(close + 1);
}
