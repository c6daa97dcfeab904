#pragma once

#include <string>

#include "foundation/ByteReader.h"
#include "foundation/Error.h"

namespace Zarn {

// Runs a parse of received snapshot bytes and reports every way in which the
// bytes can be wrong (too short, a count larger than the bytes, a number that
// names nothing in the loaded map) as Convinience::InvalidCommandDataException
// carrying the original text. An InvalidCommandDataException from a nested
// record passes through unchanged.
template <class F>
decltype(auto) readReceived(F&& parse) {
    try {
        return parse();
    } catch (const Convinience::ReadPastEndError& e) {
        throw Convinience::InvalidCommandDataException(e.what());
    } catch (const Convinience::Error& e) {
        throw Convinience::InvalidCommandDataException(e.what());
    }
}

}  // namespace Zarn
