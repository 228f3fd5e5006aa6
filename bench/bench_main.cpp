// Measures what a frame of the editor costs: full paints against the floor of their drawing calls,
// the pointer work of a drag, and a drag through the real main window. Prints the results as
// Markdown tables on standard output; progress goes to standard error.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/main_window.h"
#include "model/curve_model.h"
#include "floor_breakdown.h"
#include "frame_cases.h"
#include "paint_cases.h"
#include "pointer_cases.h"
#include "window_cases.h"

namespace {

const int Samples = 51;
const int GoalWidth = 1920;
const int GoalHeight = 1080;
// A 4K screen: the window and frames parts run there too.
const int LargeWidth = 3840;
const int LargeHeight = 2160;
const double GoalRatio = 1.15;
const double GoalPointerSeconds = 2e-6;
// Paints per second through the window, against the floor's calls made in the same window plus the
// one copy of the frame to the window that a paint which never shows a half-drawn frame needs, at
// the goal's size and on the large screen.
const double GoalPaintsPerSecondRatio = 0.9;
const long long GoalFrameReads = 100000;
const double GoalFrameTimeRatio = 1.25;

const char* YesNo(bool yes)
{
    return yes ? "yes" : "no";
}

// The worse of the two ratios at the goal's size and the largest curve.
double GoalCaseRatio(const std::vector<PaintCase>& cases)
{
    double worst = 0.0;
    for (const PaintCase& c : cases) {
        if (c.pointCount == MaxPoints && c.width == GoalWidth && c.height == GoalHeight) {
            worst = std::max(worst, c.paintSeconds / c.floorSeconds);
        }
    }
    return worst;
}

void PrintPaintTable(const std::vector<PaintCase>& cases)
{
    std::printf("### One full paint of the wavy layout into a memory bitmap, against the floor\n\n");
    std::printf("| points | client area | trail | paint (µs) | floor (µs) | ratio | same pixels |\n");
    std::printf("|---:|---|---|---:|---:|---:|---|\n");
    for (const PaintCase& c : cases) {
        std::printf("| %d | %d × %d | %s | %.1f | %.1f | %.3f | %s |\n", c.pointCount, c.width, c.height,
                    YesNo(c.trail), c.paintSeconds * 1e6, c.floorSeconds * 1e6, c.paintSeconds / c.floorSeconds,
                    c.trail ? "(colours differ)" : YesNo(c.samePixels));
    }
    std::printf("\n");
}

void PrintBreakdownTable(const std::vector<FloorPart>& parts)
{
    std::printf("### Where the floor's time goes at %d points, %d × %d, without trail\n\n", MaxPoints, GoalWidth,
                GoalHeight);
    std::printf("| calls | how many | µs per paint |\n|---|---:|---:|\n");
    for (const FloorPart& part : parts) {
        std::printf("| %s | %d | %.1f |\n", part.what, part.calls, part.seconds * 1e6);
    }
    std::printf("\n");
}

void PrintPointerTable(const PointerCase& pointer)
{
    std::printf("### Pointer work at %d points, %d × %d (the editor's code only)\n\n", MaxPoints, GoalWidth,
                GoalHeight);
    std::printf("| work | ns per call |\n|---|---:|\n");
    std::printf("| press that hits nothing: every point and both handles tested%s | %.0f |\n",
                pointer.pressMissed ? "" : " (BUT THE PRESS HIT)", pointer.hitTestSeconds * 1e9);
    std::printf("| move while dragging a handle | %.0f |\n\n", pointer.dragUpdateSeconds * 1e9);
}

double PaintsPerSecond(const DragRuns& runs)
{
    return runs.paints / runs.seconds;
}

// The floor's paced runs with one bare copy of the frame added to every paint.
DragRuns FloorPlusCopy(const WindowCase& w)
{
    return {w.pacedFloor.paints, w.pacedFloor.seconds + w.pacedFloor.paints * w.copySeconds,
            w.pacedFloor.secondsInPaint + w.pacedFloor.paints * w.copySeconds};
}

void PrintDragRow(const char* how, int moves, const DragRuns& runs, bool rate)
{
    std::printf("| %s | %d | %d | %.1f | %.2f |", how, moves, runs.paints, runs.seconds * 1e3,
                runs.paints ? runs.secondsInPaint * 1e3 / runs.paints : 0.0);
    if (rate) {
        std::printf(" %.0f |\n", PaintsPerSecond(runs));
    } else {
        std::printf(" – |\n");
    }
}

void PrintWindowTable(const WindowCase& w, int pointCount)
{
    std::printf("### Through the real window: %d points, client area %d × %d, median of %d runs\n\n", pointCount,
                w.clientWidth, w.clientHeight, w.runs);
    if (!w.dragStarted) {
        std::printf("**The press picked nothing, so the moves below dragged nothing.**\n\n");
    }
    std::printf("| how the moves were posted | moves | paints | time (ms) | in the paint message (ms per paint) "
                "| paints per second |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    PrintDragRow("all at once, before any paint", w.moves, w.burst, false);
    PrintDragRow("each after the paint of the one before", w.moves, w.paced, true);
    PrintDragRow("the same, the paint making the floor's calls instead", w.moves, w.pacedFloor, true);
    std::printf("| one bare copy of the frame to the window (BitBlt), timed alone | – | – | – | %.2f | – |\n",
                w.copySeconds * 1e3);
    PrintDragRow("the floor's calls plus that copy in every paint (worked out)", w.moves, FloorPlusCopy(w), true);
    std::printf("\nA floor paint in the window, on average: BeginPaint with its erase %.2f ms, the floor's calls "
                "%.2f ms, EndPaint %.2f ms.\n\n",
                w.floorBeginSeconds * 1e3, w.floorCallsSeconds * 1e3, w.floorEndSeconds * 1e3);
    std::printf("The program's window keeps its off-screen frame while it is shown: a bitmap of %d × %d at %d bits "
                "per pixel, %.1f MiB.\n\n",
                w.clientWidth, w.clientHeight, w.bitsPerPixel,
                static_cast<double>(w.clientWidth) * w.clientHeight * w.bitsPerPixel / 8 / 1048576);
}

void PrintFramePaintRow(const FrameCase& c, const char* paint, const FramePaint& p)
{
    std::printf("| %d | %d × %d | %s | %d | %lld | %lld | %.2f %% | %.2f | %.2f |\n", c.pointCount, c.clientWidth,
                c.clientHeight, paint, c.wholeFrameColumns, p.reads, p.halfDrawn,
                p.reads ? 100.0 * p.halfDrawn / p.reads : 0.0, p.secondsPerMove * 1e3, p.secondsPerMoveAlone * 1e3);
}

void PrintFrameTable(const std::vector<FrameCase>& cases)
{
    std::printf("### Frames caught half-drawn: the last point dragged through the real window, %d moves each paint\n\n",
                cases.empty() ? 0 : cases.front().moves);
    std::printf("| points | client area | paint | curve pixels in the row | reads of the row | half-drawn | share "
                "| ms per move and paint | the same, not read |\n");
    std::printf("|---:|---|---|---:|---:|---:|---:|---:|---:|\n");
    for (const FrameCase& c : cases) {
        PrintFramePaintRow(c, "off-screen, one copy to the window", c.offScreen);
        PrintFramePaintRow(c, "erase and draw on the window", c.onWindow);
    }
    std::printf("\n");
    for (const FrameCase& c : cases) {
        if (!c.dragsLastPoint) {
            std::printf("**At %d points the press did not pick the last point, so the drag moved something else.**\n\n",
                        c.pointCount);
        }
    }
}

void PrintPaintsPerSecondGoal(const WindowCase& w, double goal)
{
    const double paintsPerSecond = PaintsPerSecond(w.paced);
    const double floorPaintsPerSecond = PaintsPerSecond(FloorPlusCopy(w));
    std::printf("| paints per second at %d × %d at least %.2f × the floor's calls plus one copy of the frame in the same "
                "window (%.0f against %.0f) | %.3f | %s |\n",
                w.clientWidth, w.clientHeight, goal, paintsPerSecond, floorPaintsPerSecond,
                paintsPerSecond / floorPaintsPerSecond, YesNo(paintsPerSecond >= goal * floorPaintsPerSecond));
}

void PrintGoals(double ratio, const PointerCase& pointer, const WindowCase windows[2], const std::vector<FrameCase>& frames)
{
    const double pointerSeconds = std::max(pointer.hitTestSeconds, pointer.dragUpdateSeconds);
    std::printf("### Goals at %d points, at %d × %d where no other size is named\n\n", MaxPoints, GoalWidth, GoalHeight);
    std::printf("| goal | measured | met |\n|---|---:|---|\n");
    std::printf("| paint / floor at most %.2f (worse of with and without trail) | %.3f | %s |\n", GoalRatio, ratio,
                YesNo(ratio <= GoalRatio));
    std::printf("| pointer work under %.0f µs per message (worse of press and move) | %.0f ns | %s |\n",
                GoalPointerSeconds * 1e6, pointerSeconds * 1e9, YesNo(pointerSeconds < GoalPointerSeconds));
    PrintPaintsPerSecondGoal(windows[0], GoalPaintsPerSecondRatio);
    PrintPaintsPerSecondGoal(windows[1], GoalPaintsPerSecondRatio);
    long long fewestReads = frames.front().offScreen.reads, halfDrawn = 0;
    for (const FrameCase& c : frames) {
        fewestReads = std::min(fewestReads, c.offScreen.reads);
        halfDrawn += c.offScreen.halfDrawn;
    }
    std::printf("| no half-drawn frame in at least %lld reads at every size | %lld in %lld or more | %s |\n",
                GoalFrameReads, halfDrawn, fewestReads, YesNo(halfDrawn == 0 && fewestReads >= GoalFrameReads));
    // The first case of the largest curve is the one at the goal's size; the large screen's comes after it.
    const FrameCase& atGoal = *std::find_if(frames.begin(), frames.end(),
                                            [](const FrameCase& c) { return c.pointCount == MaxPoints; });
    const double frameRatio = std::max(atGoal.offScreen.secondsPerMove / atGoal.onWindow.secondsPerMove,
                                       atGoal.offScreen.secondsPerMoveAlone / atGoal.onWindow.secondsPerMoveAlone);
    std::printf("| off-screen paint at most %.2f × erase and draw on the window, per move (worse of read and not) "
                "| %.3f | %s |\n",
                GoalFrameTimeRatio, frameRatio, YesNo(frameRatio <= GoalFrameTimeRatio));
}

}  // namespace

// With an argument, runs only that part ("paint", "pointer", "window" or "frames") and prints its table,
// which is handy under a profiler.
int main(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    HINSTANCE instance = GetModuleHandleA(nullptr);
    editorState.instance = instance;
    RegisterMainWindowClass(instance);
    WNDCLASSA mainClass;
    GetClassInfoA(instance, MainWindowClass, &mainClass);

    std::vector<PaintCase> paints;
    PointerCase pointer = {};
    WindowCase windows[2] = {};
    std::vector<FrameCase> frames;
    if (only.empty() || only == "paint") {
        std::fprintf(stderr, "bench: paints against the floor\n");
        paints = RunPaintCases(mainClass.hbrBackground, Samples);
        PrintPaintTable(paints);
        PrintBreakdownTable(RunFloorBreakdown(mainClass.hbrBackground, MaxPoints, GoalWidth, GoalHeight, Samples));
    }
    if (only.empty() || only == "pointer") {
        std::fprintf(stderr, "bench: pointer work\n");
        pointer = RunPointerCase(GoalWidth, GoalHeight, Samples);
        PrintPointerTable(pointer);
    }
    if (only.empty() || only == "window") {
        std::fprintf(stderr, "bench: a drag through the real window\n");
        windows[0] = RunWindowCase(instance, GoalWidth, GoalHeight, MaxPoints, 1000, 5);
        PrintWindowTable(windows[0], MaxPoints);
        windows[1] = RunWindowCase(instance, LargeWidth, LargeHeight, MaxPoints, 1000, 5);
        PrintWindowTable(windows[1], MaxPoints);
    }
    if (only.empty() || only == "frames") {
        std::fprintf(stderr, "bench: half-drawn frames during a drag\n");
        frames.push_back(RunFrameCase(instance, 800, 600, 4, 1000));
        frames.push_back(RunFrameCase(instance, 1024, 768, 20, 1000));
        frames.push_back(RunFrameCase(instance, GoalWidth, GoalHeight, MaxPoints, 1000));
        frames.push_back(RunFrameCase(instance, LargeWidth, LargeHeight, MaxPoints, 1000));
        PrintFrameTable(frames);
    }
    if (only.empty()) {
        PrintGoals(GoalCaseRatio(paints), pointer, windows, frames);
    }
    return 0;
}
