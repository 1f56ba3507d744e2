#include "StyleNames.h"

#include <windows.h>

#include <array>
#include <vector>

#include "platform/Module.h"
#include "text/Format.h"
#include "text/StyleText.h"

namespace {

std::string EnvironmentValue(const std::string& name)
{
    // The value may change size between the calls; ask again until it fits.
    std::vector<char> value(256);
    for (;;) {
        const DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(), value.size());
        if (length == 0)
            return std::string();
        if (length < value.size())
            return std::string(value.data(), length);
        value.resize(length + 1);
    }
}

// A display string is read into the system's 255-byte area: at most 254 bytes are taken.
std::string DisplayString(HMODULE module, unsigned id)
{
    std::array<char, 255> area{};
    if (LoadStringA(module, id, area.data(), area.size()) == 0)
        return std::string();
    return std::string(area.data());
}

std::string Narrow(const std::u16string& name)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(name.data());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide, name.size(), nullptr, 0, nullptr,
                                           nullptr);
    std::string text(length > 0 ? length : 0, '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, wide, name.size(), text.data(), length, nullptr, nullptr);
    return text;
}

std::span<const unsigned char> NameResource(HMODULE module, const char* type)
{
    const HRSRC found = FindResourceA(module, "#1", type);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        throw EResNotFound(Format("%s リソースが見つかりません", "#1"));
    return {static_cast<const unsigned char*>(bytes), SizeofResource(module, found)};
}

}  // namespace

std::string ExpandEnvPath(const std::string& path)
{
    return ExpandEnvPath(path, EnvironmentValue);
}

std::string GetStyleDisplayName(const std::string& path)
{
    const Module module = ModuleAsData(ExpandEnvPath(path));
    return module ? DisplayString(module.get(), 5000) : std::string();
}

TStringList LoadStyleNameList(const std::string& path, const char* type, unsigned firstId)
{
    TStringList list;
    const Module module = ModuleAsData(ExpandEnvPath(path));
    if (!module)
        return list;
    for (const std::u16string& name : WalkNameResource(NameResource(module.get(), type)))
        list.push_back(Narrow(name));
    // Display strings pair with the names by position alone, after the walk is complete.
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string display = DisplayString(module.get(), firstId + i);
        if (!display.empty())
            list[i] += "=" + display;
    }
    return list;
}

TStringList GetColorSchemeNames(const std::string& path)
{
    return LoadStyleNameList(path, "COLORNAMES", 1000);
}

TStringList GetSizeNames(const std::string& path)
{
    return LoadStyleNameList(path, "SIZENAMES", 3000);
}
