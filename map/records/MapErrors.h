#pragma once

namespace Zarn {

// The failure texts of map loading, thrown as Convinience::Error.
namespace mapError {
// The map header is missing, truncated or does not parse.
inline constexpr const char* badMapHeader = "bad map header";
// Any other section is truncated, or one of its lengths, counts or sizes lies.
inline constexpr const char* badMap = "bad map";
// A trap record whose element ID has no trap record class.
inline constexpr const char* unknownTrap = "Not yet Implemented";
// A map element record whose element ID is in no element ID set (spelled so).
inline constexpr const char* unknownElement = "invliad element id";
inline constexpr const char* unknownLogicalElement = "invalid logical map element id";
inline constexpr const char* unknownAction = "invalid action";
inline constexpr const char* unknownTrigger = "invalid triggerID";
}  // namespace mapError

}  // namespace Zarn
