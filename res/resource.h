#pragma once
// Identifiers of the program's own resources.

#define IDI_QUILLANE 1
#define IDB_BANNER 101
#define IDI_GLYPH_CLOSE 201
#define IDI_GLYPH_OK 202
#define IDI_GLYPH_RETRY 203
