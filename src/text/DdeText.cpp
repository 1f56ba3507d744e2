#include "DdeText.h"

#include <algorithm>

#include "Format.h"

bool CopyToBuffer(std::string_view text, DdeBuffer& buffer)
{
    if (text.size() > DdeTextLimit)
        return false;
    std::copy(text.begin(), text.end(), buffer.begin());
    buffer[text.size()] = '\0';
    return true;
}

std::optional<std::string> ReplaceFirstPlaceholder(std::string_view text, std::string_view value)
{
    const auto at = text.find("%1");
    if (at == text.npos)
        return std::nullopt;
    std::string result(text.substr(0, at));
    result += value;
    result += text.substr(at + 2);
    return result;
}

std::string ExecuteCommandText(std::string_view templateText, std::string_view url)
{
    return ReplaceFirstPlaceholder(templateText, url).value_or(std::string());
}

std::string DdeErrorText(unsigned code)
{
    constexpr unsigned lowMemory = 0x4007, memoryError = 0x4008, noConversation = 0x400A;
    if (code == lowMemory || code == memoryError)
        return "DDE 実行時にメモリ不足エラーが発生しました";
    if (code == noConversation)
        return Format("DDE エラー ($0%x) のため対話を確立できません", code);
    return Format("DDE がエラーを返しました ($0%x)", code);
}
