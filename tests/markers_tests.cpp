// Point and handle markers, by the GDI calls they record and by the pixels they leave.
#include <gtest/gtest.h>

#include <map>

#include "draw/drawing.h"
#include "gdi_recording.h"
#include "window_testing.h"

namespace {

const COLORREF YellowGreen = RGB(128, 255, 0);

class Markers : public ::testing::Test {
protected:
    void SetUp() override
    {
        editorState = EditorState{};
        editorState.clientWidth = 500;
        editorState.clientHeight = 400;
    }

    // The recorded calls as lines, objects named by what they are: "brush", "dotted", "solid", "stock".
    // The wavy layout, with the in-tangent of every point between the ends set to innerInTangent.
    static std::vector<std::string> Draw(int count, bool trail, Vec2 innerInTangent = {0.5, 0.0})
    {
        editorState.pointCount = count;
        editorState.trailMode = trail;
        ApplyWavyLayout(editorState.points, editorState.tangents, count);
        for (int i = 1; i < count - 1; ++i) {
            editorState.tangents.inTangents[i] = innerInTangent;
        }
        const auto calls = RecordGdiCalls([&](HDC surface) {
            DrawMarkers(surface, editorState.points, editorState.tangents, count, YellowGreen);
        });
        std::map<long, std::string> names;
        std::vector<std::string> lines;
        for (const GdiCall& call : calls) {
            const auto& a = call.args;
            std::string line;
            if (call.name == "CreatePen") {
                EXPECT_EQ(a[2], 1);
                EXPECT_EQ(a[3], static_cast<long>(YellowGreen));
                names[a[0]] = a[1] == PS_DOT ? "dotted" : a[1] == PS_SOLID ? "solid" : "other pen";
                continue;
            }
            if (call.name == "CreateBrush") {
                EXPECT_EQ(a[1], static_cast<long>(YellowGreen));
                names[a[0]] = "brush";
                continue;
            }
            if (call.name == "SelectObject" || call.name == "DeleteObject") {
                line = call.name + " " + (a[0] & StockObjectSlot ? "stock" : names[a[0]]);
            } else {
                line = call.name;
                for (long value : a) {
                    line += " " + std::to_string(value);
                }
            }
            lines.push_back(line);
        }
        return lines;
    }
};

TEST_F(Markers, OnePointGetsItsSquareAndOutHandleAndGivesBackThePenAndBrush)
{
    // The one point lies at (0.95, 0.5), pixel (475, 200); its out-handle at (0.85, 0.6), pixel (425, 160).
    const std::vector<std::string> expected = {
        "SelectObject solid", "MoveToEx 475 200", "SelectObject brush", "Rectangle 472 197 478 203",
        "SelectObject dotted", "LineTo 425 160", "SelectObject solid", "Rectangle 423 158 427 162",
        "MoveToEx 475 200", "SelectObject stock", "SelectObject stock",
        "DeleteObject brush", "DeleteObject dotted", "DeleteObject solid",
    };
    EXPECT_EQ(Draw(1, false), expected);
}

TEST_F(Markers, TwoPointsGetThePolygonAndTheHandlesOfTheirOneSegment)
{
    // Points at pixels (25, 200) and (475, 200); the out-handle of the first at (75, 200), the
    // in-handle of the second at (525, 200); no out-handle for the last point.
    const std::vector<std::string> expected = {
        "SelectObject solid", "MoveToEx 25 200", "SelectObject brush", "Rectangle 22 197 28 203",
        "SelectObject dotted", "LineTo 75 200", "SelectObject solid", "Rectangle 73 198 77 202", "MoveToEx 25 200",
        "SelectObject dotted", "LineTo 475 200", "SelectObject solid", "Rectangle 472 197 478 203",
        "SelectObject dotted", "LineTo 525 200", "SelectObject solid", "Rectangle 523 198 527 202", "MoveToEx 475 200",
        "SelectObject stock", "SelectObject stock",
        "DeleteObject brush", "DeleteObject dotted", "DeleteObject solid",
    };
    EXPECT_EQ(Draw(2, false), expected);

    const std::vector<std::string> trail = {
        "SelectObject solid", "MoveToEx 25 200", "SelectObject brush",
        "Rectangle 24 199 26 201", "Rectangle 74 199 76 201", "Rectangle 474 199 476 201", "Rectangle 524 199 526 201",
        "SelectObject stock", "SelectObject stock", "DeleteObject brush", "DeleteObject solid",
    };
    EXPECT_EQ(Draw(2, true), trail);
}

TEST_F(Markers, FourPointsDrawEverySegmentHandleInHandleOverOutHandle)
{
    // Points 1 and 2 have their out-handles 0.1 to their right and here their in-handles 0.1 above,
    // at pixels (175, 260) and (325, 60); the in-handle's square comes second. (0.35 + 0.2 * 0.5
    // falls just short of 0.45, so the out-handle of point 1 starts in column 222.)
    const std::vector<std::string> squares = {
        "Rectangle 22 197 28 203",   "Rectangle 73 198 77 202",   // point 0 and its out-handle
        "Rectangle 172 297 178 303", "Rectangle 222 298 226 302", "Rectangle 173 258 177 262",
        "Rectangle 322 97 328 103",  "Rectangle 373 98 377 102",  "Rectangle 323 58 327 62",
        "Rectangle 472 197 478 203", "Rectangle 523 198 527 202",  // point 3 and its in-handle
    };
    for (bool trail : {false, true}) {
        std::vector<std::string> rectangles, lines;
        for (const std::string& line : Draw(4, trail, {0.0, 0.5})) {
            (line.rfind("Rectangle", 0) == 0 ? rectangles : lines).push_back(line);
        }
        int lineCount = 0;
        for (const std::string& line : lines) {
            lineCount += line.rfind("LineTo", 0) == 0;
        }
        EXPECT_EQ(lineCount, trail ? 0 : 3 + 6) << "three polygon pieces, six handle lines";
        if (!trail) {
            EXPECT_EQ(rectangles, squares);
        } else {
            EXPECT_EQ(rectangles.size(), squares.size());
            EXPECT_EQ(rectangles[2], "Rectangle 174 299 176 301");
            EXPECT_EQ(rectangles[4], "Rectangle 174 259 176 261");
        }
    }
}

TEST_F(Markers, SquareCornersAddTheHalfSizeBeforeTruncating)
{
    // X = 10.5 gives edges 7 and 13 (rounding would give 8 and 14); X = 2.5 gives left edge
    // trunc(-0.5) = 0 (truncating first would give -1); x = 0 gives left edge -3.
    editorState.clientWidth = 21;
    editorState.clientHeight = 20;
    Vec2 points[3] = {{0.5, 0.5}, {2.5 / 21, 0.5}, {0.0, 0.5}};
    TangentTable tangents = {};
    const auto rectangles = OnlyCalls(RecordGdiCalls([&](HDC surface) {
        for (const Vec2& point : points) {
            DrawMarkers(surface, &point, tangents, 1, YellowGreen);
        }
    }), "Rectangle");
    ASSERT_EQ(rectangles.size(), 6u);
    EXPECT_EQ(rectangles[0].args, (std::vector<long>{7, 7, 13, 13}));
    EXPECT_EQ(rectangles[2].args[0], 0);
    EXPECT_EQ(rectangles[4].args[0], -3);

    // On screen a square covers its left edge up to, not including, its right edge.
    const auto pixels = DrawToPixels(21, 20, RGB(0, 0, 0), [&](HDC surface) {
        DrawMarkers(surface, &points[0], tangents, 1, YellowGreen);
        DrawMarkers(surface, &points[2], tangents, 1, YellowGreen);
    });
    EXPECT_EQ(pixels.At(6, 10), RGB(0, 0, 0));
    EXPECT_EQ(pixels.At(7, 10), YellowGreen);
    EXPECT_EQ(pixels.At(12, 10), YellowGreen);
    EXPECT_EQ(pixels.At(13, 10), RGB(0, 0, 0));
    EXPECT_EQ(pixels.At(2, 10), YellowGreen);
    EXPECT_EQ(pixels.At(3, 10), RGB(0, 0, 0));
}

TEST(MarkersOnScreen, DottedLinesHaveWhiteGapsOverADarkBackground)
{
    HWND window = OpenMainWindow(500, 400);
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    DeleteObject(reinterpret_cast<HBRUSH>(SetClassLongPtrA(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(black))));
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    // Right of the last point's square, row 200 holds only the dotted line to its in-handle.
    const ClientPixels pixels = CaptureClient(window);
    int dots = 0, gaps = 0;
    for (int column = 480; column < 500; ++column) {
        const COLORREF colour = pixels.At(column, 200);
        ASSERT_TRUE(colour == YellowGreen || colour == RGB(255, 255, 255)) << column << ": " << std::hex << colour;
        dots += colour == YellowGreen;
        gaps += colour == RGB(255, 255, 255);
    }
    EXPECT_GT(dots, 3);
    EXPECT_GT(gaps, 3);
    EXPECT_EQ(pixels.At(490, 190), RGB(0, 0, 0));
    DestroyWindow(window);
}

}  // namespace
