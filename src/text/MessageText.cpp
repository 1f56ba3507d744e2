#include "MessageText.h"

#include <algorithm>

#include "Format.h"

bool IsCp932LeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

namespace {

// Offset of the first byte of every character, walked from the start: a trailing byte can
// look like any single-byte character, so the last character is never found from the end.
std::size_t LastCharacterStart(std::string_view text)
{
    std::size_t last = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        last = at;
        if (IsCp932LeadByte(static_cast<unsigned char>(text[at])))
            ++at;
    }
    return last;
}

// The longest head of text of at most limit bytes that ends on a character boundary.
std::size_t WholeCharacters(std::string_view text, std::size_t limit)
{
    std::size_t end = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next =
            at + (IsCp932LeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1);
        if (next > limit)
            break;
        end = at = std::min(next, text.size());
    }
    return end;
}

}  // namespace

std::string WithFullStop(std::string text)
{
    if (text.empty())
        return text;
    const auto first = static_cast<unsigned char>(text[LastCharacterStart(text)]);
    if (IsCp932LeadByte(first) || first > '.')
        text += '.';
    return text;
}

std::string StartupErrorText(const char* className, const std::string& moduleName,
                             const void* place, const std::string& message)
{
    const char* stop = !message.empty() && message.back() != '.' ? "." : "";
    std::string text = Format("Exception %s in module %s at %p.\r\n%s%s\r\n", className,
                              moduleName.c_str(), place, message.c_str(), stop);
    text.resize(WholeCharacters(text, 1023));
    return text;
}
