#include "FuncReg.h"

#include <vector>

#include "text/Format.h"
#include "platform/RegKey.h"

namespace {

constexpr REGSAM FullAccess = KEY_ALL_ACCESS;

// A key path resolved: an absolute path ("\" first) starts at the root, a relative one at
// the key open at that moment.
struct ResolvedPath {
    HKEY base;
    const char* rest;
};

ResolvedPath Resolve(const std::string& path, HKEY root, HKEY openKey)
{
    if (!path.empty() && path.front() == '\\')
        return {root, path.c_str() + 1};
    return {openKey ? openKey : root, path.c_str()};
}

// The accessor of one operation: its root and at most one open key, closed on release.
class TRegistry {
public:
    explicit TRegistry(HKEY root) : root_(root) {}

    // Opens path without creating it. On failure the open key stays as it was.
    bool OpenKey(const std::string& path)
    {
        const ResolvedPath at = Resolve(path, root_, key_.get());
        HKEY opened = nullptr;
        if (RegOpenKeyExA(at.base, at.rest, 0, FullAccess, &opened) != ERROR_SUCCESS)
            return false;
        key_.reset(opened);
        return true;
    }

    HKEY Root() const { return root_; }
    HKEY Key() const { return key_.get(); }

private:
    HKEY root_;
    RegKey key_;
};

// Size of a buffer for names of at most `longest` characters. On a double-byte system of
// the NT family a character can take two bytes in the A functions' output.
DWORD NameBufferSize(DWORD longest)
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    const bool doubleByte = GetSystemMetrics(SM_DBCSENABLED) != 0 && GetVersionExA(&version) &&
                            version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    return (doubleByte ? longest * 2 : longest) + 1;
}

// The store's delete takes only keys without sub-keys, so the subtree goes deepest first.
// An index whose enumeration fails is skipped and nested outcomes are ignored: the result is
// whether `rest` itself is gone.
bool DeleteSubtree(HKEY base, const char* rest)
{
    RegKey key;
    if (RegOpenKeyExA(base, rest, 0, FullAccess, key.put()) == ERROR_SUCCESS) {
        DWORD subKeys = 0, longest = 0;
        if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subKeys, &longest, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            std::vector<char> name(NameBufferSize(longest));
            for (DWORD index = subKeys; index-- > 0;) {
                DWORD size = name.size();
                if (RegEnumKeyExA(key.get(), index, name.data(), &size, nullptr, nullptr,
                                  nullptr, nullptr) == ERROR_SUCCESS)
                    DeleteSubtree(key.get(), name.data());
            }
        }
    }
    return RegDeleteKeyA(base, rest) == ERROR_SUCCESS;
}

}  // namespace

std::string RegReadString(HKEY root, const std::string& path, const std::string& name)
{
    TRegistry reg(root);
    if (!reg.OpenKey(path))
        return {};
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExA(reg.Key(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        size == 0)
        return {};
    // One zero byte past the data: text stored without its terminator still ends.
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(reg.Key(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        throw ERegistryException(Format("'%s' の取得に失敗しました", name.c_str()));
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(Format("'%s' のデータ型が不正です", name.c_str()));
    return data.data();
}

bool RegWriteString(HKEY root, const std::string& path, const std::string& name,
                    const std::string& text)
{
    TRegistry reg(root);
    if (!reg.OpenKey(path))
        return true;
    if (RegSetValueExA(reg.Key(), name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()), text.size() + 1) !=
        ERROR_SUCCESS)
        throw ERegistryException(Format("'%s' の設定に失敗しました", name.c_str()));
    return true;
}

bool RegKeyExists(HKEY root, const std::string& path)
{
    return TRegistry(root).OpenKey(path);
}

std::optional<TStringList> RegGetValueNames(HKEY root, const std::string& path)
{
    TRegistry reg(root);
    if (!reg.OpenKey(path))
        return std::nullopt;
    TStringList names;
    DWORD count = 0, longest = 0;
    if (RegQueryInfoKeyA(reg.Key(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<char> name(NameBufferSize(longest));
    for (DWORD index = 0; index < count; ++index) {
        DWORD size = name.size();
        // A step that fails (the key changed since the count) adds nothing.
        if (RegEnumValueA(reg.Key(), index, name.data(), &size, nullptr, nullptr, nullptr,
                          nullptr) == ERROR_SUCCESS)
            names.emplace_back(name.data());
    }
    return names;
}

bool RegCreateKey(HKEY root, const std::string& path, const std::string& subKey)
{
    TRegistry reg(root);
    if (!reg.OpenKey(path))
        return false;
    const ResolvedPath at = Resolve(subKey, reg.Root(), reg.Key());
    RegKey created;
    if (RegCreateKeyExA(at.base, at.rest, 0, nullptr, REG_OPTION_NON_VOLATILE, FullAccess,
                        nullptr, created.put(), nullptr) != ERROR_SUCCESS)
        throw ERegistryException(Format("キー %s の作成に失敗しました", subKey.c_str()));
    return true;
}

bool RegDeleteKey(HKEY root, const std::string& path, const std::string& subKey)
{
    TRegistry reg(root);
    if (!reg.OpenKey(path))
        return false;
    const ResolvedPath at = Resolve(subKey, reg.Root(), reg.Key());
    return DeleteSubtree(at.base, at.rest);
}

bool RegDeleteValue(HKEY root, const std::string& path, const std::string& name)
{
    TRegistry reg(root);
    return reg.OpenKey(path) && RegDeleteValueA(reg.Key(), name.c_str()) == ERROR_SUCCESS;
}
