#include "Resources.h"

#include <vector>

long HandleCount(DWORD process)
{
    struct Entry {
        ULONG process;
        BYTE type;
        BYTE flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    struct Table {
        ULONG count;
        Entry entries[1];
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    constexpr ULONG SystemHandleInformation = 16;
    std::vector<char> buffer(1 << 16);
    ULONG needed = 0;
    LONG status;
    while ((status = query(SystemHandleInformation, buffer.data(), buffer.size(), &needed)) ==
           LONG(0xC0000004))  // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return -1;
    const auto* table = reinterpret_cast<const Table*>(buffer.data());
    long count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        count += table->entries[i].process == process;
    return count;
}

long GdiObjectCount()
{
    long count = 0;
    for (ULONG_PTR slot = 1; slot <= 0xFFFF; ++slot)
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
    return count;
}
