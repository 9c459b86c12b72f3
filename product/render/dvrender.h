#pragma once
// The product's drawing library.
#include <windows.h>

#ifdef DVRENDER_BUILD
#define DVRENDER_API extern "C" __declspec(dllexport)
#else
#define DVRENDER_API extern "C" __declspec(dllimport)
#endif

// Paints the banner across `area`: a band fading from `color` to white, with
// `title` drawn on it in white.
DVRENDER_API void DvPaintBanner(HDC dc, const RECT* area, COLORREF color, const char* title);

// Reads a colour written as six hexadecimal digits RRGGBB; `fallback` when
// the text is not one.
DVRENDER_API COLORREF DvParseColor(const char* text, COLORREF fallback);
