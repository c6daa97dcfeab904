#pragma once

// A fake picture for the world-side adapters and placement: notes what is
// done to it in a log shared by the fakes of a test ("name: call").
// Header-only.

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "grid/CellGrid.h"
#include "simulation/adapters/Element2D.h"

namespace zarn_test {

using GeometryLib::FPoint;

// A picture that notes what an adapter does to it, in one log shared by
// every fake of a test ("name: call").
class FakeVisual : public Zarn::Sprite2DMediator {
public:
    FakeVisual(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    virtual ~FakeVisual() = default;

    FPoint getVisibleSize() override { return {}; }
    FPoint getVisibleOrigin() override { return {}; }
    void setContentSize(float w, float h) override { note("size " + num(w) + " " + num(h)); }
    void setAnchorPoint(float, float) override {}
    void setPosition(float x, float y) override {
        position = FPoint(x, y);
        note("position " + num(x) + " " + num(y));
    }
    void setZOrder(int z) override {
        zOrder = z;
        note("z " + std::to_string(z));
    }
    void setGlobalZOrder(int) override {}
    void setRotation(float r) override { rotation = r; }
    void setOpacity(u8 o) override { note("opacity " + std::to_string(o)); }
    void setScale(float) override {}
    void setVisible(bool) override {}
    void setFlippedX(bool f) override { flippedX = f; }
    void setFlippedY(bool f) override { flippedY = f; }
    FPoint getPosition() override { return position; }
    FPoint getContentSize() override { return contentSize; }
    FPoint convertToNodeSpace(const FPoint& p) override { return p; }
    float getScale() override { return scale; }
    GeometryLib::FRect getRect() override { return {}; }
    void scheduleUpdate() override { note("schedule"); }
    void addChild(Zarn::NodeMediator* child) override {
        note("add " + dynamic_cast<FakeVisual&>(*child).name_);
    }
    void removeChild(Zarn::NodeMediator* child) override {
        note("remove " + dynamic_cast<FakeVisual&>(*child).name_);
    }
    void onVisibilityChanged(u8 s) override { note("visibility " + std::to_string(s)); }
    void onStateChanged(u32 o, u32 n) override {
        note("state " + std::to_string(o) + " " + std::to_string(n));
    }
    void onShowHide(u32 o, u8 n) override { note("showHide " + std::to_string(o) + " " + std::to_string(n)); }

    FPoint position;
    int zOrder = 0;
    // What getContentSize and getScale answer.
    FPoint contentSize{160.0f, 160.0f};
    float scale = 0.4f;
    // Set by the calls, not logged; NaN until a rotation is set.
    float rotation = std::numeric_limits<float>::quiet_NaN();
    bool flippedX = false;
    bool flippedY = false;

private:
    static std::string num(float v) { return std::to_string(static_cast<int>(v)); }
    void note(const std::string& what) { log_.push_back(name_ + ": " + what); }
    std::string name_;
    std::vector<std::string>& log_;
};

// The adapters' test bench: a 10 x 10 grid of 64-unit cells, its
// calculator, the tile table and the fakes with their shared log.
class AdapterFixture : public ::testing::Test {
protected:
    AdapterFixture() {
        grid.setProperties(Zarn::MapProperties{640, 640, 64});
        grid.resize();
    }
    FakeVisual& fake(const std::string& name) {
        fakes.push_back(std::make_unique<FakeVisual>(name, log));
        return *fakes.back();
    }
    // A floor tile visual of the cell, registered in the tile table.
    FakeVisual& floorAt(GeometryLib::Point cell, const std::string& name) {
        FakeVisual& f = fake(name);
        tiles[cell].push_back(&f);
        return f;
    }
    // The log so far, which starts over.
    std::vector<std::string> take() { return std::exchange(log, {}); }

    Zarn::CellGrid grid;
    Zarn::ZOrderCalculator zOrder{64, 10};
    Zarn::TileVisualGroups tiles;
    std::vector<std::string> log;
    std::vector<std::unique_ptr<FakeVisual>> fakes;
};

}  // namespace zarn_test
