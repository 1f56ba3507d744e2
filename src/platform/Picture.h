#pragma once
// A preview picture read from a file: a bitmap, an icon, a metafile or an enhanced metafile,
// chosen by the file name's extension; or nothing (the empty bitmap).

#include <windows.h>

#include <memory>
#include <string>

class Picture {
public:
    enum class Kind { None, Bitmap, Icon, Metafile, EnhancedMetafile };

    Picture() noexcept;  // the empty bitmap: draws nothing
    ~Picture();
    Picture(Picture&&) noexcept;
    Picture& operator=(Picture&&) noexcept;

    // Raises Exception with the system's texts: unknown extension, a file that cannot be
    // opened, content that is not a picture of the extension's kind. A bitmap is averaged down
    // to `preview` (the area it will fill) as it is read, and only that small copy is kept.
    static Picture FromFile(const std::string& path, SIZE preview);

    // Pictures of the program's own, drawn like those read from files; the picture owns the
    // handle.
    static Picture FromBitmap(HBITMAP bitmap);
    static Picture FromIcon(HICON icon);

    Kind GetKind() const noexcept;

    // A bitmap or metafile is stretched to fill `area` (a bitmap read for an area of that size
    // is copied as it is); an icon is drawn at its own size at the area's top-left corner;
    // nothing draws nothing.
    void Draw(HDC dc, const RECT& area) const;

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
};
