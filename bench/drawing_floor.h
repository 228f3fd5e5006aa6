#pragma once
// The floor of a paint: the drawing calls that the editor's paint makes, in the same order, with
// the same pens and brush, but with every pixel coordinate worked out in advance and every object
// made once. Timing it against the paint shows what the editor's own arithmetic and object
// handling add to what the platform's drawing costs anyway.
#include <windows.h>

#include <vector>

struct FloorCall {
    // Lines are told apart by the pen they are drawn with: dotted (markers) or solid (the curve).
    enum Kind { Select = 1, Move = 2, SolidLine = 4, DottedLine = 8, Box = 16 } kind;
    HGDIOBJ object;  // Select only
    int x[4];        // Move, lines: column, row; Box: left, top, right, bottom
};

constexpr unsigned AllFloorCalls = 31;

struct DrawingFloor {
    std::vector<FloorCall> calls;
    std::vector<HGDIOBJ> madeObjects;  // released by ReleaseFloor
};

// Records what DrawEditorState draws for editorState as it stands (which takes a trail colour in
// trail mode) and turns it into a floor.
DrawingFloor RecordFloor();

// Makes the floor's calls of the kinds given (FloorCall::Kind values or'ed) on the surface, in
// order. The objects that the surface held before are stock objects, and the floor selects them
// back at the end as the paint does.
void PlayFloor(HDC surface, const DrawingFloor& floor, unsigned kinds = AllFloorCalls);

void ReleaseFloor(DrawingFloor& floor);
