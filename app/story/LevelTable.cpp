#include "app/story/LevelTable.h"

namespace Zarn {
namespace {

LevelList buildLevelList() {
    static const char* const kNames[] = {
        "DEMO_EmptyRoomWithWalls",
        "DEMO_EmptyRoomWithHoles",
        "DEMO_RoomWithOneTrapDoorRow",
        "DEMO_FourTrapDoorRowsSequential",
        "DEMO_FourTrapDoorRowsAlt",
        "DEMO_FourTrapDoorRowsSkip",
        "FiveTrapDoorRowsCornersCross",
        "FiveTrapDoorRowsExpandingCorners",
        "DEMO_TwoRowsAlternate",
        "DEMO_TwoRowsFloatingPlatform",
        "DEMO_LongRowTwoSafeSpots",
        "DEMO_RoomWithAllSpikeTraps",
        "DEMO_TDSpikeTDRow",
        "DEMO_SpikeTDAlternate",
        "DEMO_LongRowTwoUnsafeSpots",
        "DEMO_CheckerSpikeTrapDoor",
        "DEMO_LeverGallery",
        "SimpleMerryGoRound",
        "MerryGoRound4Switches",
        "ConveyorCrossTDAtCenter",
        "DEMO_ThreeMusicTrap",
        "FiveMusicTrap",
        "DEMO_FiveTrapDoorRowsCarefulStep",
        "LeverFloorPuzzle1",
        "LeverPuzzleMakeTrapLine",
        "DEMO_SteerableIME01",
        "DEMO_BossSinglePhase",
        "ThreeChunkMiddleSpike",
        "TDIForwardBackSpikeMix",
        "TDILadderTwoEndPieces",
        "TDITDMidBackForth",
        "DEMO_TDLongRowWithSafeSpotInt01",
    };
    LevelList levels;
    for (const char* name : kNames) {
        LevelEntry entry;
        entry.mapName = name;
        entry.deathGoldGoal = 0;
        entry.deathSilverGoal = 2;
        entry.deathBronzeGoal = 4;
        entry.timeGoldGoal = 10000;
        entry.timeSilverGoal = 15000;
        entry.timeBronzeGoal = 30000;
        entry.timeAttackLimit = 30000;
        levels.push_back(entry);
    }
    return levels;
}

}  // namespace

const LevelList& storyLevelList() {
    static const LevelList levels = buildLevelList();
    return levels;
}

std::string levelMapFileName(u32 level) {
    const LevelList& levels = storyLevelList();
    return level < levels.size() ? levels[level].mapName + ".map" : std::string("BlankRoom.map");
}

}  // namespace Zarn
