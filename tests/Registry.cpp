#include "Registry.h"

#include "Resources.h"

#include <sddl.h>
#include <shlwapi.h>

#include <vector>

#include <gtest/gtest.h>

namespace {

const char* Native(const std::string& path)
{
    return path.c_str() + (!path.empty() && path.front() == '\\');
}

void SetDacl(HKEY root, const std::string& path, PSECURITY_DESCRIPTOR descriptor)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(root, Native(path), 0, WRITE_DAC, &key), ERROR_SUCCESS) << path;
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    RegCloseKey(key);
}

}  // namespace

void CreateKeyRaw(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, Native(path), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS)
        << path;
    RegCloseKey(key);
}

void DeleteTreeRaw(HKEY root, const std::string& path)
{
    // The key and all below it; RegDeleteTreeA is above the headers' Windows XP level.
    const LSTATUS status = SHDeleteKeyA(root, Native(path));
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        ADD_FAILURE() << "cannot delete " << path << ": " << status;
}

bool KeyPresent(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, Native(path), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void SetRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
            std::string_view data)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, Native(path), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS)
        << path;
    EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(data.data()), data.size()),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetText(HKEY root, const std::string& path, const std::string& name, const std::string& text)
{
    SetRaw(root, path, name, REG_SZ, std::string_view(text.c_str(), text.size() + 1));
}

std::optional<RawValue> GetRaw(HKEY root, const std::string& path, const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, Native(path), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<RawValue> value;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::string data(size, '\0');
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS) {
            data.resize(size);
            value = RawValue{type, data};
        }
    }
    RegCloseKey(key);
    return value;
}

std::optional<RawList> ReadRawList(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, Native(path), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD count = 0, longestName = 0, longestData = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                     &longestName, &longestData, nullptr, nullptr);
    RawList values;
    std::vector<char> name(longestName + 1);
    std::string data(longestData, '\0');
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameSize = name.size(), dataSize = data.size(), type = 0;
        if (RegEnumValueA(key, index, name.data(), &nameSize, nullptr, &type,
                          reinterpret_cast<BYTE*>(data.data()), &dataSize) == ERROR_SUCCESS)
            values[name.data()] = RawValue{type, data.substr(0, dataSize)};
    }
    RegCloseKey(key);
    return values;
}

void WriteRawList(HKEY root, const std::string& path, const RawList& values)
{
    CreateKeyRaw(root, path);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(root, Native(path), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    char name[512];
    for (DWORD size = sizeof name; RegEnumValueA(key, 0, name, &size, nullptr, nullptr, nullptr,
                                                 nullptr) == ERROR_SUCCESS;
         size = sizeof name)
        RegDeleteValueA(key, name);
    RegCloseKey(key);
    for (const auto& [name, value] : values)
        SetRaw(root, path, name, value.type, value.data);
}

std::optional<ValueList> ReadList(HKEY root, const std::string& path)
{
    const auto raw = ReadRawList(root, path);
    if (!raw)
        return std::nullopt;
    ValueList values;
    for (const auto& [name, value] : *raw)
        values[name] = value.data.c_str();
    return values;
}

void WriteList(HKEY root, const std::string& path, const ValueList& values)
{
    RawList raw;
    for (const auto& [name, text] : values)
        raw[name] = RawValue{REG_SZ, std::string(text.c_str(), text.size() + 1)};
    WriteRawList(root, path, raw);
}

SavedKey::SavedKey(HKEY root, std::string path)
    : root_(root), path_(std::move(path)), values_(ReadRawList(root_, path_))
{
}

SavedKey::~SavedKey()
{
    if (values_)
        WriteRawList(root_, path_, *values_);
    else
        DeleteTreeRaw(root_, path_);
}

DWORD HandleCount()
{
    const long count = HandleCount(GetCurrentProcessId());
    EXPECT_GE(count, 0) << "the system's handle table cannot be read";
    return DWORD(count);
}

ReadOnlyKey::ReadOnlyKey(HKEY root, const std::string& path) : root_(root), path_(path)
{
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(root, Native(path), 0, READ_CONTROL, &key), ERROR_SUCCESS) << path;
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    saved_.resize(size);
    EXPECT_EQ(RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, saved_.data(), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);

    PSECURITY_DESCRIPTOR readOnly = nullptr;
    EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr));
    SetDacl(root, path, readOnly);
    LocalFree(readOnly);
}

ReadOnlyKey::~ReadOnlyKey()
{
    SetDacl(root_, path_, saved_.data());
}
