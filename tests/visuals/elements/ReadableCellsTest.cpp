#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "map/records/DoorElement.h"
#include "map/records/LevelUpModeElement.h"
#include "map/records/MapEventData.h"
#include "map/records/MusicalNoteElement.h"
#include "support/ElementSceneFixture.h"
#include "support/EveryElementRoom.h"
#include "visuals/elements/KeyCells.h"
#include "visuals/elements/MusicalNoteVisual.h"
#include "world/elements/Floor.h"

namespace {

using GeometryLib::Point;

// Cells the player must see: holes and pits (deadly, or harmless until
// woken), door plates, stage goals, teleports and the pitch of note tiles.
class ReadableCells : public zarn_test::ElementSceneFixture {
protected:
    static Zarn::WholeTileMapElement tile(u32 id, Point cell) {
        Zarn::WholeTileMapElement r;
        r.elementId = id;
        r.cell = cell;
        return r;
    }
    static Zarn::TileNumberedMapElement numberedTile(u32 id, u32 number, Point cell) {
        Zarn::TileNumberedMapElement r;
        r.elementId = id;
        r.cell = cell;
        r.number = number;
        return r;
    }
    // The visible draw command of the frame whose picture is centred on the
    // cell, or null.
    static const cocos2d::DrawCommand* drawnOn(const std::string& frame, Point cell) {
        const cocos2d::Vec2 centre((cell.x + 0.5f) * kCell, (cell.y + 0.5f) * kCell);
        for (const cocos2d::DrawCommand& c : list().commands) {
            if (c.frameName.str() != frame || c.opacity == 0) continue;
            const cocos2d::Vec2 at = worldPositionOf(c);
            const cocos2d::Rect box(at.x, at.y, 64.0f, 64.0f);
            if (box.containsPoint(centre)) return &c;
        }
        return nullptr;
    }
    // Draw order of the frame on the cell: its index in the draw list.
    static int orderOf(const std::string& frame, Point cell) {
        const cocos2d::DrawCommand* c = drawnOn(frame, cell);
        return c == nullptr ? -1 : static_cast<int>(c - list().commands.data());
    }
};

TEST_F(ReadableCells, HolesPitsPlatesGoalsAndTeleportsAreDrawnOnTheirCells) {
    zarn_test::MapBuilder b = room();
    b.element(tile(54, Point(2, 2)));
    b.element(tile(137, Point(3, 2)));
    b.element(numberedTile(139, 40, Point(4, 2)));
    b.element(numberedTile(138, 41, Point(5, 2)));
    b.element(tile(29, Point(6, 2)));
    Zarn::AutomaticDoorElement door =
        zarn_test::room::automaticDoor(165, 42, Point(6 * 64, 6 * 64), Point(6, 4));
    door.sensorCells.insert(Point(7, 4));
    b.element(door);
    Zarn::LevelUpModeElement mode;
    mode.elementId = 443;
    mode.areaCells.insert(Point(8, 4));
    b.element(mode);
    Zarn::MapEventData teleport;
    auto at = std::make_unique<Zarn::PositionTriggerData>();
    at->triggerId = 5;
    at->count = 1;
    at->cell = Point(8, 6);
    teleport.trigger = std::move(at);
    auto move = std::make_unique<Zarn::MoveSteerableData>();
    move->actionId = 2;
    move->target = Point(1, 1);
    teleport.actions.push_back(std::move(move));
    teleport.eventId = 9;
    b.event(teleport);
    load(b);

    const struct {
        const char* frame;
        Point cell;
    } cells[] = {
        {"floor_hole.png", Point(2, 2)},     {"floor_pit.png", Point(3, 2)},
        {"floor_hole_off.png", Point(4, 2)}, {"floor_pit_off.png", Point(5, 2)},
        {"key_plate.png", Point(6, 4)},      {"key_plate.png", Point(7, 4)},
        {"key_goal.png", Point(8, 4)},       {"key_teleport.png", Point(8, 6)},
    };
    for (const auto& c : cells)
        EXPECT_NE(drawnOn(c.frame, c.cell), nullptr) << c.frame << " on " << c.cell.x << "," << c.cell.y;
    EXPECT_EQ(keyCells(game.map).size(), 4u) << "each key cell once";

    // A dormant hole looks harmless until it is woken; then it looks deadly.
    element<Zarn::Floor>(40).enable();
    element<Zarn::Floor>(41).enable();
    run(0.2f);
    EXPECT_NE(drawnOn("floor_hole.png", Point(4, 2)), nullptr);
    EXPECT_NE(drawnOn("floor_pit.png", Point(5, 2)), nullptr);
    element<Zarn::Floor>(40).disable();
    run(0.2f);
    EXPECT_NE(drawnOn("floor_hole_off.png", Point(4, 2)), nullptr);
}

TEST_F(ReadableCells, AKeyCellIsMarkedOnceByItsMostImportantUse) {
    zarn_test::MapBuilder b = room();
    b.element(zarn_test::room::automaticDoor(164, 42, Point(0, 8 * 64), Point(3, 3)));
    Zarn::LevelUpModeElement mode;
    mode.elementId = 443;
    mode.areaCells.insert(Point(3, 3));
    mode.areaCells.insert(Point(4, 3));
    b.element(mode);
    load(b);
    const std::vector<KeyCell> found = keyCells(game.map);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].kind, KeyCellKind::plate);
    EXPECT_EQ(found[1].kind, KeyCellKind::goal);
    EXPECT_EQ(countVisible("key_"), 2u);
}

// A closed trap door in the bottom row lies behind the bottom wall: the
// wall's top face, which reaches up over the door's row, is drawn over the
// door's panels; the panels are drawn over the door's base and the floor.
TEST_F(ReadableCells, WallsInFrontAreDrawnOverTheTrapDoorsBehindThem) {
    zarn_test::MapBuilder b = room();
    b.element(tile(155, Point(2, 0)));
    b.element(tile(29, Point(3, 1)));
    b.trap(zarn_test::trapAt(43, 1, Point(2, 1), 0.6f, 1.0f));
    load(b);
    auto firstIndex = [](const std::string& prefix) {
        const std::vector<cocos2d::DrawCommand>& all = list().commands;
        for (std::size_t i = 0; i < all.size(); ++i)
            if (all[i].frameName.str().rfind(prefix, 0) == 0) return static_cast<int>(i);
        return -1;
    };
    const int wall = firstIndex("wall_new_front_0.png");
    const int panel = firstIndex("fp_trap_door_top_left.png");
    const int base = firstIndex("fp_trap_door_base.png");
    const int floor = firstIndex("floor_new_0.png");
    ASSERT_GE(wall, 0);
    ASSERT_GE(panel, 0);
    ASSERT_GE(base, 0);
    ASSERT_GE(floor, 0);
    EXPECT_GT(wall, panel) << "the wall in front covers the door behind it";
    EXPECT_GT(panel, base);
    EXPECT_GT(panel, floor);
}

// Each note shows its pitch by a glyph and a hue of its own, also when it is
// lit and played, so a tune can be seen; the speaker shows a loudspeaker.
TEST_F(ReadableCells, NoteTilesShowTheirPitchByGlyphAndHueInEveryLook) {
    zarn_test::MapBuilder b = room();
    Zarn::MusicalNoteControllerElement controller;
    controller.elementId = 379;
    controller.cell = Point(1, 5);
    controller.number = 20;
    controller.noteSequences = {{21, 22, 23}};
    controller.controllerTime = 0.5f;
    b.element(controller);
    const u8 pitches[] = {0, 4, 19};
    for (u32 i = 0; i < 3; ++i) {
        Zarn::MusicalNoteElement note;
        note.elementId = 383;
        note.cell = Point(2 + static_cast<int>(i), 5);
        note.number = 21 + i;
        note.note = pitches[i];
        b.element(note);
    }
    load(b);

    std::vector<MusicalNoteCocos2D*> notes;
    for (cocos2d::Node* child : world->getChildren())
        for (cocos2d::Node* inner : child->getChildren())
            if (auto* n = dynamic_cast<MusicalNoteCocos2D*>(inner)) notes.push_back(n);
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(frameOf(notes[0]->getNoteSign()), "musical_speaker.png");
    EXPECT_EQ(frameOf(notes[1]->getNoteSign()), "musical_pitch_0.png");
    EXPECT_EQ(frameOf(notes[2]->getNoteSign()), "musical_pitch_4.png");
    EXPECT_EQ(frameOf(notes[3]->getNoteSign()), "musical_pitch_19.png");

    // Idle, lit and played: three pitches, three different tile colours in
    // each look, and the looks of one pitch differ from each other.
    for (u8 key : {u8(2), u8(3), u8(4)}) {
        std::vector<cocos2d::Color3B> tiles;
        for (u8 p : pitches) tiles.push_back(pitchedNoteColours(key, p).whiteTile());
        EXPECT_NE(tiles[0], tiles[1]) << int(key);
        EXPECT_NE(tiles[1], tiles[2]) << int(key);
        EXPECT_NE(tiles[0], tiles[2]) << int(key);
    }
    EXPECT_NE(pitchedNoteColours(2, 4).whiteTile(), pitchedNoteColours(3, 4).whiteTile());
    EXPECT_NE(pitchedNoteColours(3, 4).whiteTile(), pitchedNoteColours(4, 4).whiteTile());
    EXPECT_EQ(pitchColour(0, 1.0f, 1.0f), cocos2d::Color3B(255, 0, 0));
    EXPECT_EQ(pitchColour(12, 1.0f, 1.0f), pitchColour(0, 1.0f, 1.0f)) << "one hue per pitch class";
    EXPECT_EQ(pitchColour(4, 1.0f, 1.0f), cocos2d::Color3B(0, 255, 0));

    // Drawn: the idle tile of pitch 4 in its own hue; when it awaits the
    // player, its tile turns to the lit look of the same hue.
    const cocos2d::Node* tile4 = notes[2]->getWhiteTile();
    EXPECT_EQ(drawn(tile4)->color, pitchedNoteColours(2, 4).whiteTile());
    element<Zarn::MusicalNote>(22).setValue(Zarn::NoteValue::awaiting);
    run(0.2f);
    EXPECT_EQ(drawn(tile4)->color, pitchedNoteColours(3, 4).whiteTile());
}

}  // namespace
