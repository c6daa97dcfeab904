#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "presentation/scene/RegionOverlayState.h"

namespace {

using Stencil = RegionOverlayState::Stencil;
constexpr u32 kNone = RegionOverlayState::kNoRegion;

struct Frame {
    u32 current;
    Stencil stencil;
};

struct Case {
    const char* name;
    std::vector<Frame> frames;
};

class RegionOverlayCases : public ::testing::TestWithParam<Case> {};

TEST_P(RegionOverlayCases, StencilChangesFrameByFrame) {
    RegionOverlayState state;
    const Case& c = GetParam();
    for (std::size_t i = 0; i < c.frames.size(); ++i)
        EXPECT_EQ(state.step(c.frames[i].current), c.frames[i].stencil) << "frame " << i;
}

constexpr Stencil keep = Stencil::keep;
constexpr Stencil redraw = Stencil::redraw;
constexpr Stencil clear = Stencil::clear;

INSTANTIATE_TEST_SUITE_P(
    Table, RegionOverlayCases,
    ::testing::Values(Case{"StartWithoutRegionClearsOnce", {{kNone, clear}, {kNone, keep}, {kNone, keep}}},
                      Case{"StayingInOneRegionRedrawsOnlyAtFirst", {{2, redraw}, {2, keep}, {2, keep}}},
                      Case{"RegionChangeRedrawsOnceAtTheChange",
                           {{2, redraw}, {2, keep}, {3, redraw}, {3, keep}}},
                      Case{"ChangeBeforeSettlingRedrawsAgain", {{2, redraw}, {3, redraw}, {3, keep}}},
                      Case{"LeavingARegionClearsEveryFrameWithoutOne",
                           {{2, redraw}, {2, keep}, {kNone, clear}, {kNone, clear}, {kNone, clear}}},
                      Case{"LeavingBeforeSettlingClearsOnce", {{2, redraw}, {kNone, clear}, {kNone, keep}}},
                      Case{"ComingBackToTheClearedRegionRedrawsIt",
                           {{2, redraw}, {2, keep}, {kNone, clear}, {2, redraw}, {2, keep}}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
