#pragma once

#include <string>
#include <vector>

// Every sprite frame name the presentation asks the engine for: the player
// looks' frame lists, the dust, the name tag icons and the single frames
// below. assets/frames.manifest lists the same names (section [players]);
// a test holds the two to each other.
const std::vector<std::string>& presentationFrameNames();

// A frame that shows nothing: what the giblets' own sprite shows once the
// spiked frames have played.
inline constexpr const char* kBlankFrame = "blank.png";
// The fall's second piece.
inline constexpr const char* kSunglassesFrame = "zizad_giblet_sunglasses.png";
