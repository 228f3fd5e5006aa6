#pragma once
// How many GDI objects (pens, brushes, fonts, bitmaps, device contexts...) this process holds now.
int LiveGdiObjects();
