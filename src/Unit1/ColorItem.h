#pragma once
// An item of the colour list as it is drawn: swatches of the default and the current user's
// colour (ColorTable), each as wide as the item is high, then the colour's name.

#include <windows.h>

// Draws item `index` of `list` into `rect`, its name `gap` pixels after the swatches. An item
// beyond the colour tables (a load that stopped half-way) gets no swatches.
void DrawColorItem(HDC dc, HWND list, int index, const RECT& rect, int gap);
