#include <gtest/gtest.h>

#include "presentation/PresentationFrames.h"
#include "presentation/effects/ClickCursor.h"
#include "presentation/hud/PlayerMarkersHUD2D.h"
#include "support/FrameManifest.h"

namespace {

// The manifest's [players] family is exactly the set of frames the
// presentation's code names; a name on one side only fails here.
TEST(FrameManifest, ThePlayersFamilyListsExactlyTheFramesThePresentationAsksFor) {
    const zarn_test::FrameManifest manifest = zarn_test::FrameManifest::read(ZARN_FRAME_MANIFEST);
    ASSERT_EQ(manifest.families.count("players"), 1u) << ZARN_FRAME_MANIFEST;
    const std::set<std::string>& listed = manifest.families.at("players");
    const std::set<std::string> named(presentationFrameNames().begin(), presentationFrameNames().end());
    for (const std::string& name : named)
        EXPECT_EQ(listed.count(name), 1u) << name << " is not in the manifest";
    for (const std::string& name : listed) EXPECT_EQ(named.count(name), 1u) << name << " is named by no code";
    EXPECT_EQ(manifest.families.count(""), 0u) << "every name belongs to a family";
}

// The [ingame] family is exactly the frames of the click cursor and the
// off-screen player markers.
TEST(FrameManifest, TheInGameFamilyListsTheCursorAndMarkerFrames) {
    const zarn_test::FrameManifest manifest = zarn_test::FrameManifest::read(ZARN_FRAME_MANIFEST);
    ASSERT_EQ(manifest.families.count("ingame"), 1u) << ZARN_FRAME_MANIFEST;
    const std::set<std::string> named = {ClickCursor::kArrowFrame, ClickCursor::kRingFrame,
                                         PlayerMarkersHUD2D::kMarkerFrame};
    EXPECT_EQ(manifest.families.at("ingame"), named);
}

}  // namespace
