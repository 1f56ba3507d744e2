#pragma once
// Owners of GDI and USER drawing handles.

#include <windows.h>

#include "Handle.h"

struct GdiObjectTraits {
    using Value = HGDIOBJ;
    static constexpr HGDIOBJ invalid() noexcept { return nullptr; }
    static void close(HGDIOBJ object) noexcept { DeleteObject(object); }
};
using GdiObject = UniqueHandle<GdiObjectTraits>;

struct IconTraits {
    using Value = HICON;
    static constexpr HICON invalid() noexcept { return nullptr; }
    static void close(HICON icon) noexcept { DestroyIcon(icon); }
};
using Icon = UniqueHandle<IconTraits>;

// Selects an object into a device context for one scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
