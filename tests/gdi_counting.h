#pragma once
#include <windows.h>

#include <string>

// How many GDI objects (pens, brushes, fonts, bitmaps, device contexts...) this process holds now.
int LiveGdiObjects();

// The same objects by the type that the system's handle table gives them, as "type:count" pairs:
// 1 device contexts, 4 regions, 10 fonts, 16 brushes, 48 pens among them.
std::string LiveGdiObjectsByType();

// How many objects of a type this process holds now.
int LiveGdiObjectsOfType(int type);

// The type that the handle table gives an object; Wine numbers some types unlike Windows (a
// bitmap is 9 there, 5 on Windows), so a test asks for the type of an object it made itself.
int GdiObjectType(HGDIOBJ object);
