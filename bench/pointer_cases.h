#pragma once
// The editor's own work for one pointer message at the largest curve, without the platform's
// message handling and repaint request.

struct PointerCase {
    bool pressMissed;          // the press position hit nothing, as the worst case needs
    double hitTestSeconds;     // a press that hits nothing: every point and both handles tested
    double dragUpdateSeconds;  // a move while a handle is dragged
};

// The wavy layout of MaxPoints points in a client area of width x height.
PointerCase RunPointerCase(int width, int height, int samples);
