#pragma once
// The size sweep's wallpapers, written at run time, and the two floors under loading a pair
// of them: the files read whole, and the program's former way of showing them (each picture
// loaded at full size and stretched once to the preview's size).

#include <windows.h>

#include <string>
#include <vector>

// A photo-like 24-bit bitmap file: a diagonal blend between two colours with a grain of noise
// in every channel, so that no run of pixels repeats. False when it cannot be written.
bool WriteWallpaper(const std::string& path, int width, int height, COLORREF from, COLORREF to,
                    unsigned seed);

// Each file opened, read whole with one ReadFile into a buffer kept from call to call (its
// pages stay touched), and closed: what loading them cannot do without.
class ReadFloor {
public:
    double Run(const std::vector<std::string>& paths);  // milliseconds

private:
    std::vector<char> buffer_;
};

// Each picture loaded at its full size as a device-dependent bitmap, stretched once with
// COLORONCOLOR onto a preview of 160 × 120 pixels, and deleted.
class StretchFloor {
public:
    StretchFloor();
    ~StretchFloor();
    StretchFloor(const StretchFloor&) = delete;
    StretchFloor& operator=(const StretchFloor&) = delete;

    double Run(const std::vector<std::string>& paths);  // milliseconds

private:
    HDC screen_, target_, source_;
    HBITMAP preview_;
    HGDIOBJ original_;
};
