#pragma once

#include <memory>
#include <vector>

#include "foundation/Types.h"

namespace Zarn {

// Kinds of input results.
namespace InputResultKind {
inline constexpr u8 move = 1;
// A waited dialog was closed; the result carries the dialog's number.
inline constexpr u8 dialogClosed = 2;
}  // namespace InputResultKind

// What input handling did, as the bindable event trigger reads it.
struct InputResult {
    InputResult() = default;
    InputResult(u8 kind, u8 applied, std::vector<u32> ids)
        : kind(kind), applied(applied), ids(std::move(ids)) {}
    virtual ~InputResult() = default;

    u8 kind = 0;
    // 1 when the input took effect, 0 when it was refused.
    u8 applied = 0;
    // The client IDs the input concerns.
    std::vector<u32> ids;
};

struct NumberInputResult : InputResult {
    NumberInputResult() = default;
    NumberInputResult(u8 kind, u8 applied, std::vector<u32> ids, u32 number)
        : InputResult(kind, applied, std::move(ids)), number(number) {}

    u32 number = 0;
};

// Applied, ids = [clientId].
std::unique_ptr<InputResult> makeInputResult(u8 kind, u32 clientId);
// A move input refused (the unit is carried by an elevator pad): kind 1, not applied.
std::unique_ptr<InputResult> makeUnappliedInputResult(u32 clientId);
// A waited dialog closed: kind 2, applied, ids = [0], the dialog's number.
std::unique_ptr<NumberInputResult> makeNumberInputResult(u32 number);

}  // namespace Zarn
