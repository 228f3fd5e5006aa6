// Editing and the drawing arithmetic allocate nothing on the heap: counted around the calls under
// the address sanitizer, whose allocator reports every malloc and operator new.
#include <gtest/gtest.h>

#include <cstddef>

#include "draw/curve_arithmetic.h"
#include "edit/pointer_editing.h"

// Only the sanitizer build has an allocator that reports to us.
#ifdef TRAZOS_SANITIZED
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, std::size_t),
                                                         void (*freeHook)(const volatile void*));

namespace {

volatile long allocations = 0;

void CountAllocation(const volatile void*, std::size_t)
{
    allocations = allocations + 1;
}

void IgnoreFree(const volatile void*) {}

TEST(HeapFree, ModelEditingAndDrawingArithmeticAllocateNothing)
{
    static bool installed = __sanitizer_install_malloc_and_free_hooks(CountAllocation, IgnoreFree) != 0;
    ASSERT_TRUE(installed);
    EditorState state = {};
    state.clientWidth = 800;
    state.clientHeight = 600;
    std::uint32_t colours = 1;
    volatile long sink = 0;
    delete new int(1);
    ASSERT_GT(allocations, 0) << "the counter counts";

    allocations = 0;
    for (int count = 1; count <= MaxPoints; ++count) {
        state.pointCount = count;
        ApplyStraightLayout(state.points, state.tangents, count);
        ApplyWavyLayout(state.points, state.tangents, count);
        for (int i = 0; i < count; ++i) {
            const Pixel p = UnitToPixel(state.points[i].x, state.points[i].y, 800, 600);
            PressPointer(state, static_cast<std::uint16_t>(p.column), static_cast<std::uint16_t>(p.row));
            MovePointer(state, 400, 300);
            ReleasePointer(state, 410, 290);
            sink = sink + MarkerSquare(state.points[i], 3, 800, 600).left +
                   HermiteSample(HermiteCoefficientsOf(state.points[0], state.points[i], state.tangents.outTangents[0],
                                                       state.tangents.inTangents[i]),
                                 i % (SegmentSteps + 1)).x;
        }
        state.trailMode = count % 2;
        sink = sink + ChooseCurvePen(state, colours).colour;
        ChangePointCount(state, 1);
    }
    EXPECT_EQ(allocations, 0);
}

}  // namespace
#endif
