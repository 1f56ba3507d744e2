#pragma once
// The texts of the web-site link: the fixed 256-byte areas that DDE names, start lines and
// commands pass through, the command built from the browser's template, and the error texts
// of the DDE instance.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// At most 255 bytes of text and the terminating zero.
inline constexpr std::size_t DdeTextLimit = 255;
using DdeBuffer = std::array<char, DdeTextLimit + 1>;

// Copies text and its terminating zero into the buffer. False, with the buffer unchanged,
// when the text is longer than 255 bytes: it is never cut into a different text.
bool CopyToBuffer(std::string_view text, DdeBuffer& buffer);

// The text with its first "%1" replaced by value; none when the text holds no "%1". A byte
// search is sound in code page 932: "%" is never a trailing byte.
std::optional<std::string> ReplaceFirstPlaceholder(std::string_view text, std::string_view value);

// The execute command from the browser's template: empty when the template has no "%1".
std::string ExecuteCommandText(std::string_view templateText, std::string_view url);

// The message of a DDE instance that cannot be initialised, for DDEML's error code.
std::string DdeErrorText(unsigned code);
