#pragma once

#include <string>
#include <vector>

// Every sprite frame name the map element visuals ask the engine for, each
// once, in a fixed order. assets/frames.manifest lists the same names
// (section [elements]); a test holds the two to each other and to what the
// visuals request while they run. (The dust the doors and pads raise is the
// presentation's and listed there. Two rows of the element tables name a
// frame no visual shows: "p2_floor_1.png", replaced by a random floor, and
// "p4_door_outer.png", whose door shows the third set's halves.)
const std::vector<std::string>& elementVisualFrameNames();
