// Curve tracing, checked by the GDI calls it records into an enhanced metafile.
#include <gtest/gtest.h>

#include "draw/drawing.h"
#include "gdi_recording.h"

namespace {

class CurveTracing : public ::testing::Test {
protected:
    void SetUp() override
    {
        editorState = EditorState{};
        editorState.clientWidth = 500;
        editorState.clientHeight = 400;
        trailColourState = 1;
    }

    static std::vector<GdiCall> DrawState()
    {
        return RecordGdiCalls([](HDC surface) { DrawCurve(surface, editorState.points, editorState.tangents); });
    }

    static GdiCall CurvePen()
    {
        const auto pens = OnlyCalls(DrawState(), "CreatePen");
        EXPECT_EQ(pens.size(), 1u);
        return pens.empty() ? GdiCall{} : pens[0];
    }
};

std::vector<std::string> NamesOf(const std::vector<GdiCall>& calls)
{
    std::vector<std::string> names;
    for (const GdiCall& call : calls) {
        names.push_back(call.name);
    }
    return names;
}

TEST_F(CurveTracing, EverySegmentIsOneMoveAndThirtyOneLinesUnderOnePenThatIsRestoredAndDeleted)
{
    editorState.pointCount = 4;
    ApplyWavyLayout(editorState.points, editorState.tangents, 4);
    const auto calls = DrawState();

    std::vector<std::string> expected = {"CreatePen", "SelectObject"};
    for (int segment = 0; segment < 3; ++segment) {
        expected.push_back("MoveToEx");
        expected.insert(expected.end(), 31, "LineTo");
    }
    expected.insert(expected.end(), {"SelectObject", "DeleteObject"});
    ASSERT_EQ(NamesOf(calls), expected) << Describe(calls);

    const long pen = calls[0].args[0];
    EXPECT_EQ(calls[1].args[0], pen);
    EXPECT_GE(static_cast<unsigned long>(calls[calls.size() - 2].args[0]), 0x80000000ul) << "the stock pen goes back";
    EXPECT_EQ(calls.back().args[0], pen);

    // Segment 1 runs from (0.35, 0.25) to (0.65, 0.75): pixels (175, 300) and (325, 100).
    const GdiCall& move = calls[2 + 32];
    EXPECT_EQ(move.args, (std::vector<long>{175, 300}));
    EXPECT_EQ(calls[2 + 32 + 1].args, (std::vector<long>{175, 300})) << "the first line has no length";
    const GdiCall& last = calls[2 + 32 + 31];
    EXPECT_NEAR(last.args[0], 325, 1);
    EXPECT_NEAR(last.args[1], 100, 1);
    // Halfway along, both tangents (0.5, 0): the cubic gives (0.5, 0.5), pixel (250, 200).
    EXPECT_NEAR(calls[2 + 32 + 16].args[0], 250, 1);
    EXPECT_NEAR(calls[2 + 32 + 16].args[1], 200, 1);
}

TEST_F(CurveTracing, PixelsAreTruncatedTowardZero)
{
    // A segment held on one spot draws 31 zero-length lines there.
    struct Case {
        Vec2 spot;
        long column;
        long row;
    } cases[] = {
        {{-0.7 / 500, 0.5}, 0, 200},         // -0.7 lands in column 0, not -1
        {{10.99 / 500, 1 - 10.99 / 400}, 10, 10},
        {{1.0, 0.0}, 500, 400},              // one past the last column and row
        {{-3.0 / 500, 1.0}, -3, 0},
    };
    for (const Case& c : cases) {
        const auto calls = RecordGdiCalls(
            [&](HDC surface) { TraceSegment(surface, c.spot, c.spot, Vec2{0, 0}, Vec2{0, 0}); });
        ASSERT_EQ(calls.size(), 32u) << Describe(calls);
        for (const GdiCall& call : calls) {
            EXPECT_EQ(call.args, (std::vector<long>{c.column, c.row})) << call.name << " at " << c.spot.x;
        }
    }
}

TEST_F(CurveTracing, PenIsRedOrOverLightGreenMagentaAtTheChosenWidth)
{
    editorState.pointCount = 2;
    ApplyWavyLayout(editorState.points, editorState.tangents, 2);
    const long red = RGB(255, 0, 0);
    const long magenta = RGB(255, 0, 255);
    const long colourByStep[] = {red, red, red, magenta, red, red, magenta};
    for (int width : {0, 2}) {
        for (int step = 0; step <= 6; ++step) {
            editorState.curveWidth = width;
            editorState.backgroundStep = step;
            const GdiCall pen = CurvePen();
            EXPECT_EQ(std::vector<long>(pen.args.begin() + 1, pen.args.end()),
                      (std::vector<long>{PS_SOLID, width, colourByStep[step]}))
                << "width " << width << ", background step " << step;
        }
    }
}

TEST_F(CurveTracing, TrailModeDrawsThreePixelsWideInTheFixedColourSequence)
{
    editorState.pointCount = 1;  // no segment, yet each paint still takes its three draws
    editorState.curveWidth = 2;
    editorState.backgroundStep = 3;
    CurvePen();  // outside trail mode the generator is left alone
    editorState.trailMode = 1;

    const auto first = DrawState();
    EXPECT_TRUE(OnlyCalls(first, "LineTo").empty());
    EXPECT_EQ(NamesOf(first), (std::vector<std::string>{"CreatePen", "SelectObject", "SelectObject", "DeleteObject"}));
    EXPECT_EQ(first[0].args[2], 3);
    EXPECT_EQ(first[0].args[3], static_cast<long>(RGB(105, 205, 227)));
    EXPECT_EQ(CurvePen().args[3], static_cast<long>(RGB(197, 159, 80)));
}

}  // namespace
