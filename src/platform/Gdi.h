#pragma once
// Owners of GDI objects and of the memory device contexts that draw them.

#include <windows.h>

#include "Handle.h"

using Bitmap = UniqueHandle<PointerHandleTraits<HBITMAP, DeleteObject>>;
using GdiObject = UniqueHandle<PointerHandleTraits<HGDIOBJ, DeleteObject>>;  // fonts, brushes
using Icon = UniqueHandle<PointerHandleTraits<HICON, DestroyIcon>>;
using Metafile = UniqueHandle<PointerHandleTraits<HMETAFILE, DeleteMetaFile>>;
using EnhMetafile = UniqueHandle<PointerHandleTraits<HENHMETAFILE, DeleteEnhMetaFile>>;
using MemoryDc = UniqueHandle<PointerHandleTraits<HDC, DeleteDC>>;

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
