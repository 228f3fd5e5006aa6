#pragma once
// The editor's one state record, and the layouts that give the curve a known shape.
// Points are in unit coordinates: x runs from 0 at the left edge of the client area to 1 at the
// right edge, y from 0 at the bottom edge to 1 at the top edge, so the curve stretches with the window.
// This header needs no platform headers, so the model also builds and runs natively.

// The platform's window and module handles. <windows.h> names these same types HWND and HINSTANCE;
// declaring them here keeps the model free of the platform while the fields stay exactly typed.
struct HWND__;
struct HINSTANCE__;

struct Vec2 {
    double x;
    double y;
};

constexpr int MaxPoints = 150;

// A handle sits at point + HandleScale * tangent; a handle moved to c gives the tangent (c - point) * TangentScale.
constexpr double HandleScale = 0.2;
constexpr double TangentScale = 5.0;

// Segment i runs from point i to point i + 1, leaving with outTangents[i] and arriving with inTangents[i + 1].
// inTangents[0] and outTangents[pointCount - 1] belong to no segment. The two halves lie one after the
// other, so the table is also the one array of 2 * MaxPoints tangents, in-tangent i being entry MaxPoints + i.
struct TangentTable {
    Vec2 outTangents[MaxPoints];
    Vec2 inTangents[MaxPoints];
};

struct EditorState {
    int pointCount;  // points in use, always within 1 .. MaxPoints
    Vec2 points[MaxPoints];
    TangentTable tangents;
    int selectedIndex;  // point whose point or handle is being dragged
    int dragTarget;     // 0 the point, 1 its out-handle, 2 its in-handle
    int dragging;
    Vec2 cursor;  // last pointer position, unit coordinates
    double clientWidth;
    double clientHeight;
    int trailMode;
    int pendingStraightInit;  // layouts asked for by the panel run at the start of the next paint
    int pendingWavyInit;
    int curveWidth;      // pen width outside trail mode; 0 draws one pixel wide
    int backgroundStep;  // presses of "color fondo" so far, less a multiple of 3 near the int limit
    int widthStep;       // presses of "grosor curva" so far, likewise
    HWND__* panelWindow;
    HINSTANCE__* instance;
};

// The process-wide record: zeroed before the main window exists, never freed.
extern EditorState editorState;

Vec2 HandlePosition(Vec2 point, Vec2 tangent);
Vec2 TangentTowards(Vec2 point, Vec2 handle);

// Each of these writes the tangents (and the layouts the points) of indices 0 .. count - 1 only;
// count must lie within 1 .. MaxPoints.
void ResetTangents(TangentTable& tangents, int count);
void ApplyStraightLayout(Vec2 points[], TangentTable& tangents, int count);
void ApplyWavyLayout(Vec2 points[], TangentTable& tangents, int count);

// Runs the layouts that the panel asked for since the last paint, straight before wavy, so that
// when both are pending the wavy one stays; each flag is cleared once its layout has run.
void ApplyPendingLayouts(EditorState& state);

// One point more (change +1) or fewer (-1), shown as the wavy curve for the new count from the next
// paint on. At 1 or MaxPoints a press that cannot change the count leaves everything as it was, so
// no edit is thrown away. A drag whose point no longer exists ends, so a drag never holds a point
// past the last. Returns whether the count changed.
bool ChangePointCount(EditorState& state, int change);
