#pragma once
// Registry access for the tests that does not go through the code under test. Paths take the
// same form as FuncReg's ("\" first, from the root).

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

using ValueList = std::map<std::string, std::string>;

struct RawValue {
    DWORD type;
    std::string data;
};

void CreateKeyRaw(HKEY root, const std::string& path);
void DeleteTreeRaw(HKEY root, const std::string& path);
bool KeyPresent(HKEY root, const std::string& path);  // opens for reading only
void SetRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
            std::string_view data);  // creates the key when missing
void SetText(HKEY root, const std::string& path, const std::string& name, const std::string& text);
std::optional<RawValue> GetRaw(HKEY root, const std::string& path, const std::string& name);

// A key's values, or none when the key is missing. Writing makes the key hold exactly these
// values (its sub-keys stay). The string forms read every value as text and write REG_SZ.
using RawList = std::map<std::string, RawValue>;
std::optional<RawList> ReadRawList(HKEY root, const std::string& path);
void WriteRawList(HKEY root, const std::string& path, const RawList& values);
std::optional<ValueList> ReadList(HKEY root, const std::string& path);
void WriteList(HKEY root, const std::string& path, const ValueList& values);

// Keeps a real key's values, of every type, (or its absence) and puts them back exactly on
// destruction, so that a test may change the profile that Wine itself reads.
class SavedKey {
public:
    SavedKey(HKEY root, std::string path);
    ~SavedKey();
    SavedKey(const SavedKey&) = delete;
    SavedKey& operator=(const SavedKey&) = delete;

private:
    HKEY root_;
    std::string path_;
    std::optional<RawList> values_;
};

// The process's open handles: a key left open by an error shows as one more.
DWORD HandleCount();

// Grants everyone only reading of a key (what a user without administrator rights has on
// the default user's keys) and puts its old access list back on destruction.
class ReadOnlyKey {
public:
    ReadOnlyKey(HKEY root, const std::string& path);
    ~ReadOnlyKey();
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

private:
    HKEY root_;
    std::string path_;
    std::string saved_;
};
