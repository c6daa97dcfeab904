#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simulation/managers/InputManager.h"
#include "simulation/scene/InputDispatcher.h"

namespace {

using GeometryLib::FPoint;

// Answers a fixed kind and notes that it was asked.
class Receiver final : public Zarn::Inputable {
public:
    Receiver(u8 kind, std::string name, std::vector<std::string>* asked)
        : kind_(kind), name_(std::move(name)), asked_(asked) {}
    Zarn::InputAnswer handleInput(const FPoint& position) override {
        asked_->push_back(name_);
        return {kind_, FPoint(position.x + 0.5f, position.y)};
    }

private:
    u8 kind_;
    std::string name_;
    std::vector<std::string>* asked_;
};

struct Case {
    const char* name;
    std::vector<u8> answers;  // one receiver per answer, in offering order
    std::vector<std::string> asked;
    std::vector<u8> queuedKinds;
};

class InputDispatcherCases : public ::testing::TestWithParam<Case> {};

TEST_P(InputDispatcherCases, FirstReceiverThatTakesTheEventDecides) {
    const Case& c = GetParam();
    Zarn::InputManager inputs;
    inputs.addClient(7);
    inputs.addClient(8);
    std::vector<std::string> asked;
    std::vector<std::unique_ptr<Receiver>> receivers;
    Zarn::InputDispatcher dispatcher(inputs, 7);
    for (std::size_t i = 0; i < c.answers.size(); ++i) {
        receivers.push_back(std::make_unique<Receiver>(c.answers[i], "r" + std::to_string(i), &asked));
        dispatcher.addReceiver(receivers.back().get());
    }

    const bool queued = dispatcher.dispatch(FPoint(10.0f, 20.0f));

    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(queued, !c.queuedKinds.empty());
    std::vector<u8> kinds;
    std::vector<FPoint> points;
    inputs.forEachClient([&](u32 client, Zarn::InputManager::InputList& list) {
        for (const Zarn::InputData& d : list) {
            EXPECT_EQ(client, 7u) << "queued for another client";
            kinds.push_back(d.kind);
            points.push_back(d.position);
        }
    });
    EXPECT_EQ(kinds, c.queuedKinds);
    for (const FPoint& p : points) EXPECT_EQ(p, FPoint(10.5f, 20.0f));
}

INSTANTIATE_TEST_SUITE_P(Table, InputDispatcherCases,
                         ::testing::Values(Case{"NoReceivers", {}, {}, {}},
                                           Case{"NobodyTakesIt", {0, 0}, {"r0", "r1"}, {}},
                                           Case{"HandledBySecondThirdNotAsked", {0, 3, 2}, {"r0", "r1"}, {}},
                                           Case{"FirstQueuesItsKindSecondNotAsked", {2, 3}, {"r0"}, {2}},
                                           Case{"MoveToPointAfterADecline", {0, 1}, {"r0", "r1"}, {1}}),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

TEST(InputDispatcher, ClearedReceiversAreNotAskedAgain) {
    Zarn::InputManager inputs;
    inputs.addClient(0);
    std::vector<std::string> asked;
    Receiver taker(1, "taker", &asked);
    Zarn::InputDispatcher dispatcher(inputs, 0);
    dispatcher.addReceiver(&taker);
    dispatcher.clearReceivers();
    EXPECT_FALSE(dispatcher.dispatch(FPoint(1.0f, 1.0f)));
    EXPECT_TRUE(asked.empty());
    EXPECT_FALSE(inputs.hasInput(0));
}

}  // namespace
