#include "ColorText.h"

#include <cstdint>

#include "Format.h"

int StrToInt(const std::string& text)
{
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        ++at;
    if (at == text.size())
        throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
    std::int64_t value = 0;
    for (; at < text.size(); ++at) {
        const char digit = text[at];
        if (digit < '0' || digit > '9')
            throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
        value = value * 10 + (digit - '0');
        if (value > std::int64_t(INT32_MAX) + 1)
            throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
    }
    if (!negative && value > INT32_MAX)
        throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
    return static_cast<int>(negative ? -value : value);
}

namespace {

// At least two digits; a negative value shows as its 32-bit pattern.
std::string Hex(int value)
{
    return Format("%02X", static_cast<unsigned>(static_cast<std::uint32_t>(value)));
}

}  // namespace

std::string RgbTextToColorText(const std::string& text)
{
    std::string red, green, blue;
    const auto first = text.find(' ');
    if (first != text.npos) {
        red = text.substr(0, first);
        const auto second = text.find(' ', first + 1);
        if (second != text.npos) {
            green = text.substr(first + 1, second - first - 1);
            blue = text.substr(second + 1);
        }
    }
    // In the order of the result, so the first bad component named is the first one written.
    const std::string b = Hex(StrToInt(blue));
    const std::string g = Hex(StrToInt(green));
    const std::string r = Hex(StrToInt(red));
    return "$00" + b + g + r;
}

namespace {

bool IsLeadByte932(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

char FoldAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool SameTextCp932(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t at = 0; at < a.size(); ++at) {
        if (IsLeadByte932(static_cast<unsigned char>(a[at]))) {
            // The whole character must match exactly; a lead byte ends both texts alike.
            if (a[at] != b[at] || (at + 1 < a.size() && a[at + 1] != b[at + 1]))
                return false;
            ++at;
        } else if (FoldAscii(a[at]) != FoldAscii(b[at])) {
            return false;
        }
    }
    return true;
}
