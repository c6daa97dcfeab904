#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "world/steering/SteerableKinematics.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;

void expectNear(const FPoint& actual, const FPoint& expected, float eps = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
}

TEST(SteerableKinematicsTest, TruncateCases) {
    struct Case {
        FPoint v;
        float max;
        FPoint expected;
    };
    const Case cases[] = {
        {{3, 4}, 5, {3, 4}},
        {{3, 4}, 10, {3, 4}},
        {{3, 4}, 2.5f, {1.5f, 2.0f}},
        {{0.1f, -0.1f}, 0, {0, 0}},
        {{0.1f, 0.3f}, 0, {0, 0}},
        {{-300, 0}, 200, {-200, 0}},
        {{0.19f, 0.19f}, 0.1f, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.v.x << "," << c.v.y << " max " << c.max);
        expectNear(SteerableKinematics::truncate(c.v, c.max), c.expected);
    }
}

TEST(SteerableKinematicsTest, FreshBody) {
    auto body = SteerableKinematics::create();
    EXPECT_EQ(std::bit_cast<u32>(body->heading), 0x40490FD0u);
    EXPECT_EQ(body->position, FPoint(0, 0));
    EXPECT_EQ(body->velocity, FPoint(0, 0));
    EXPECT_EQ(body->steeringVelocity, FPoint(0, 0));
    EXPECT_EQ(body->avoidanceVelocity, FPoint(0, 0));
    EXPECT_EQ(body->externalVelocity, FPoint(0, 0));
    EXPECT_EQ(body->maxSpeed, 400.0f);
    EXPECT_EQ(body->maxSteeringForce, 80.0f);
    EXPECT_EQ(body->maxExternalForce, 40.0f);
    EXPECT_EQ(body->maxSteeringSpeed, 200.0f);
    EXPECT_EQ(body->maxBrakingForce, 100.0f);
    EXPECT_EQ(body->maxExternalSpeed, 400.0f);
}

TEST(SteerableKinematicsTest, HeadingFollowsSteeringVelocityLongerThanOne) {
    SteerableKinematics body;
    body.setSteeringVelocity({0, -5});
    EXPECT_NEAR(body.heading, 3.14159265f, 1e-5f);
    body.setSteeringVelocity({5, 0});
    EXPECT_NEAR(body.heading, 1.5707963f, 1e-5f);
    body.setSteeringVelocity({1, 0});  // length exactly 1.0
    EXPECT_NEAR(body.heading, 1.5707963f, 1e-5f);
    body.setSteeringVelocity({0, 0});
    EXPECT_NEAR(body.heading, 1.5707963f, 1e-5f);
    EXPECT_EQ(body.velocity, FPoint(0, 0));
}

TEST(SteerableKinematicsTest, SteeringVelocityIsStoredUnlimitedButVelocityIsCapped) {
    SteerableKinematics body;
    body.setSteeringVelocity({300, 0});
    EXPECT_EQ(body.steeringVelocity, FPoint(300, 0));
    EXPECT_EQ(body.velocity, FPoint(300, 0));
    body.externalVelocity = {300, 0};
    body.setSteeringVelocity({200, 0});
    expectNear(body.velocity, {400, 0});
}

TEST(SteerableKinematicsTest, ForcesAreLimitedPerForceAndInTotal) {
    SteerableKinematics body;
    body.addSteeringForce({1000, 0});
    expectNear(body.steeringVelocity, {80, 0});
    for (int i = 0; i < 3; ++i) body.addSteeringForce({1000, 0});
    expectNear(body.steeringVelocity, {200, 0});
    body.addBrakingForce({-1000, 0});
    expectNear(body.steeringVelocity, {100, 0});
    body.addExternalForce({0, 1000});
    expectNear(body.externalVelocity, {0, 40});
    body.addExternalBrakingForce({0, -1000});
    expectNear(body.externalVelocity, {0, -60});
    expectNear(body.velocity, {100, -60});
}

TEST(SteerableKinematicsTest, ApplyForcesReplacesAvoidanceOnly) {
    SteerableKinematics body;
    body.setSteeringVelocity({50, 0});
    body.externalVelocity = {0, 20};
    SteeringForces push;
    push.avoidance = {0, 30};
    body.applyForces(push);
    expectNear(body.velocity, {50, 50});
    body.applyForces(SteeringForces());
    EXPECT_EQ(body.avoidanceVelocity, FPoint(0, 0));
    expectNear(body.steeringVelocity, {50, 0});
    expectNear(body.externalVelocity, {0, 20});
    expectNear(body.velocity, {50, 20});
}

}  // namespace
}  // namespace Zarn
