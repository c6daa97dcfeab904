#include "world/adapters/VisualNodeMediator.h"

namespace Zarn {

NullVisualNodeMediator& NullVisualNodeMediator::instance() {
    static NullVisualNodeMediator shared;
    return shared;
}

}  // namespace Zarn
