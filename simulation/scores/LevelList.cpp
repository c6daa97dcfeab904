#include "simulation/scores/LevelEntry.h"

namespace Zarn {

namespace {

// Every level carries the same goals: 0, 2, 4 deaths; 10, 15, 30 seconds; a
// time-attack limit of 30 seconds.
LevelEntry level(const char* mapName) {
    LevelEntry entry;
    entry.mapName = mapName;
    entry.deathGoldGoal = 0;
    entry.deathSilverGoal = 2;
    entry.deathBronzeGoal = 4;
    entry.timeGoldGoal = 10000;
    entry.timeSilverGoal = 15000;
    entry.timeBronzeGoal = 30000;
    entry.timeAttackLimit = 30000;
    return entry;
}

LevelList buildStoryLevels() {
    return {
        level("DEMO_EmptyRoomWithWalls"),
        level("DEMO_EmptyRoomWithHoles"),
        level("DEMO_RoomWithOneTrapDoorRow"),
        level("DEMO_FourTrapDoorRowsSequential"),
        level("DEMO_FourTrapDoorRowsAlt"),
        level("DEMO_FourTrapDoorRowsSkip"),
        level("FiveTrapDoorRowsCornersCross"),
        level("FiveTrapDoorRowsExpandingCorners"),
        level("DEMO_TwoRowsAlternate"),
        level("DEMO_TwoRowsFloatingPlatform"),
        level("DEMO_LongRowTwoSafeSpots"),
        level("DEMO_RoomWithAllSpikeTraps"),
        level("DEMO_TDSpikeTDRow"),
        level("DEMO_SpikeTDAlternate"),
        level("DEMO_LongRowTwoUnsafeSpots"),
        level("DEMO_CheckerSpikeTrapDoor"),
        level("DEMO_LeverGallery"),
        level("SimpleMerryGoRound"),
        level("MerryGoRound4Switches"),
        level("ConveyorCrossTDAtCenter"),
        level("DEMO_ThreeMusicTrap"),
        level("FiveMusicTrap"),
        level("DEMO_FiveTrapDoorRowsCarefulStep"),
        level("LeverFloorPuzzle1"),
        level("LeverPuzzleMakeTrapLine"),
        level("DEMO_SteerableIME01"),
        level("DEMO_BossSinglePhase"),
        // The bonus challenges.
        level("ThreeChunkMiddleSpike"),
        level("TDIForwardBackSpikeMix"),
        level("TDILadderTwoEndPieces"),
        level("TDITDMidBackForth"),
        level("DEMO_TDLongRowWithSafeSpotInt01"),
    };
}

}  // namespace

// Built on first use, so that readers in other static initialisers find it.
const LevelList& LevelList::instance() {
    static const LevelList levels = buildStoryLevels();
    return levels;
}

std::string levelMapFileName(u32 levelIndex) {
    const LevelList& levels = LevelList::instance();
    if (levelIndex >= levels.size()) return "BlankRoom.map";
    return levels[levelIndex].mapName + ".map";
}

}  // namespace Zarn
