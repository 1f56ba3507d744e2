#pragma once
// What the settings load writes into: the window's controls as far as the load uses them.
// The window binds these to its real controls; tests may bind recording ones.

#include <string>

struct Bounds {
    int left;
    int top;
    int width;
    int height;
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

class EditView {
public:
    virtual void SetText(const std::string& text) = 0;
    virtual std::string Text() const = 0;
    virtual void SetHint(const std::string& hint) = 0;  // CR LF breaks the hint's line
    virtual void SetShowHint(bool show) = 0;

protected:
    ~EditView() = default;
};

class ListBoxView {
public:
    virtual void Clear() = 0;
    virtual void Add(const std::string& item) = 0;

protected:
    ~ListBoxView() = default;
};

class ImageView {
public:
    virtual Bounds GetBounds() const = 0;
    // Raises the picture errors; on any failure the previous picture stays.
    virtual void LoadFromFile(const std::string& path) = 0;
    virtual void SetEmptyBitmap() = 0;

protected:
    ~ImageView() = default;
};

class ShapeView {
public:
    virtual void SetBounds(const Bounds& bounds) = 0;

protected:
    ~ShapeView() = default;
};

class CheckBoxView {
public:
    virtual void SetChecked(bool checked) = 0;
    virtual void SetEnabled(bool enabled) = 0;

protected:
    ~CheckBoxView() = default;
};

struct SettingsView {
    ListBoxView& LBoxColor;
    EditView& EditDllNameDUV;
    EditView& EditColorNameDU;
    EditView& EditSizeNameDU;
    EditView& EditDllNameCUV;
    EditView& EditColorNameCU;
    EditView& EditSizeNameCU;
    ImageView& ImageWallDU;
    ImageView& ImageWallCU;
    ShapeView& ShapeDU;
    ShapeView& ShapeCU;
    CheckBoxView& CheckStyle;
    CheckBoxView& CheckColor;
    CheckBoxView& CheckWall;
    CheckBoxView& CheckNumLock;
    CheckBoxView& CheckLogonIME;
};
