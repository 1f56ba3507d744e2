#pragma once
// Owners of GDI objects and of the memory device contexts that draw them.

#include <windows.h>

#include "Handle.h"

struct BitmapTraits {
    using Value = HBITMAP;
    static constexpr HBITMAP invalid() noexcept { return nullptr; }
    static void close(HBITMAP bitmap) noexcept { DeleteObject(bitmap); }
};
using Bitmap = UniqueHandle<BitmapTraits>;

struct IconTraits {
    using Value = HICON;
    static constexpr HICON invalid() noexcept { return nullptr; }
    static void close(HICON icon) noexcept { DestroyIcon(icon); }
};
using Icon = UniqueHandle<IconTraits>;

struct MetafileTraits {
    using Value = HMETAFILE;
    static constexpr HMETAFILE invalid() noexcept { return nullptr; }
    static void close(HMETAFILE metafile) noexcept { DeleteMetaFile(metafile); }
};
using Metafile = UniqueHandle<MetafileTraits>;

struct EnhMetafileTraits {
    using Value = HENHMETAFILE;
    static constexpr HENHMETAFILE invalid() noexcept { return nullptr; }
    static void close(HENHMETAFILE metafile) noexcept { DeleteEnhMetaFile(metafile); }
};
using EnhMetafile = UniqueHandle<EnhMetafileTraits>;

struct MemoryDcTraits {
    using Value = HDC;
    static constexpr HDC invalid() noexcept { return nullptr; }
    static void close(HDC dc) noexcept { DeleteDC(dc); }
};
using MemoryDc = UniqueHandle<MemoryDcTraits>;

// Puts the object a device context held back when the scope ends.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, old_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Restores a device context's mapping and other state when the scope ends.
class SavedDc {
public:
    explicit SavedDc(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDc() { RestoreDC(dc_, saved_); }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int saved_;
};

struct GdiObjectTraits {
    using Value = HGDIOBJ;
    static constexpr HGDIOBJ invalid() noexcept { return nullptr; }
    static void close(HGDIOBJ object) noexcept { DeleteObject(object); }
};
using GdiObject = UniqueHandle<GdiObjectTraits>;  // fonts and brushes
