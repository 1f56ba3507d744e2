#include "Text.h"

#include <windows.h>

std::string FileNamePart(const std::string& path)
{
    std::string::size_type start = 0;
    for (std::string::size_type at = 0; at < path.size(); ++at) {
        if (IsDBCSLeadByteEx(932, static_cast<BYTE>(path[at])))
            ++at;  // a trailing byte is never a separator
        else if (path[at] == '\\' || path[at] == '/')
            start = at + 1;
    }
    return path.substr(std::min(start, path.size()));
}
