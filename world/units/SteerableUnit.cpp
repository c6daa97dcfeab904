#include "world/units/SteerableUnit.h"

namespace Zarn {

SteerableUnit::SteerableUnit(u32 handle)
    : kinematics(SteerableKinematics::create()),
      motion(*this),
      handle_(handle),
      life_(std::make_shared<const int>(0)) {}

SteerableUnit::~SteerableUnit() = default;

}  // namespace Zarn
