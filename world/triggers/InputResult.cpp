#include "world/triggers/InputResult.h"

namespace Zarn {

std::unique_ptr<InputResult> makeInputResult(u8 kind, u32 clientId) {
    return std::make_unique<InputResult>(kind, 1, std::vector<u32>{clientId});
}

std::unique_ptr<InputResult> makeUnappliedInputResult(u32 clientId) {
    return std::make_unique<InputResult>(InputResultKind::move, 0, std::vector<u32>{clientId});
}

std::unique_ptr<NumberInputResult> makeNumberInputResult(u32 number) {
    return std::make_unique<NumberInputResult>(InputResultKind::dialogClosed, 1, std::vector<u32>{0}, number);
}

}  // namespace Zarn
