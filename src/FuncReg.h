#pragma once
// The seven registry operations every other module goes through. Each opens its one key with
// full access, does one thing and closes the key again before it returns, also when an error
// passes. A key that does not open with full access reads as missing: empty text, false, no
// list; nothing is ever created in its place.

#include <windows.h>

#include <optional>
#include <string>

#include "Exception.h"
#include "StringList.h"

QUILLANE_EXCEPTION_KIND(ERegistryException);

// The value as text; empty when the key or value is missing or holds no data. Raises
// ERegistryException when the data cannot be read or is not REG_SZ / REG_EXPAND_SZ
// (expandable text comes back unexpanded).
std::string RegReadString(HKEY root, const std::string& path, const std::string& name);

// Writes text as REG_SZ over any value of that name. True whenever it returns: a missing key
// is skipped without a sign. Raises ERegistryException when the store refuses the write.
bool RegWriteString(HKEY root, const std::string& path, const std::string& name,
                    const std::string& text);

// Whether the key opens with full access.
bool RegKeyExists(HKEY root, const std::string& path);

// The key's value names in the store's order; no list when the key is missing.
std::optional<TStringList> RegGetValueNames(HKEY root, const std::string& path);

// Creates subKey (or opens an existing one) under the opened key, or under the root when
// subKey starts with "\". False when the main key is missing; raises ERegistryException when
// the store refuses.
bool RegCreateKey(HKEY root, const std::string& path, const std::string& subKey);

// Deletes subKey with everything below it; true when subKey itself is gone.
bool RegDeleteKey(HKEY root, const std::string& path, const std::string& subKey);

// True when the value was deleted.
bool RegDeleteValue(HKEY root, const std::string& path, const std::string& name);
