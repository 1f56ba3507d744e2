// GetWindowTextLengthA may count more than the text's bytes, never fewer, so that a buffer of
// that size holds the text. ReactOS counts the characters of the common controls' edit box
// (version 6, the one the program's manifest asks for, a Unicode window): "青" is one
// character but two bytes, and the text read back in that buffer is cut to nothing. So a name
// the window reads back from its edit box, to give the box its hint, is lost.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

int main()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const HWND box = CreateWindowA("Edit", "青", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    const int length = GetWindowTextLengthA(box);
    std::string text(length, '\0');
    text.resize(GetWindowTextA(box, text.data(), length + 1));
    std::printf("\"青\" (2 bytes) in a Unicode edit box: %d, length %d, read back \"%s\"\n",
                IsWindowUnicode(box), length, text.c_str());
    DestroyWindow(box);
    return text == "青" ? 0 : 1;
}
