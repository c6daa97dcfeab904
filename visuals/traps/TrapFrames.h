#pragma once

#include <string>
#include <vector>

// Every sprite frame name the trap and boss visuals ask the engine for, each
// once, in a fixed order. assets/frames.manifest lists the same names
// (section [traps]); a test holds the two to each other and to what the
// visuals request while they run. (The dust the boss's arms raise is the
// presentation's and listed there.)
const std::vector<std::string>& trapVisualFrameNames();
