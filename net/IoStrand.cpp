#include "net/IoStrand.h"

#include <exception>
#include <string>

#include "foundation/Logger.h"

namespace Ferro {

void runEventLoop(boost::asio::io_context& io) {
    Convinience::Logger logger;
    for (;;) {
        try {
            io.run();
            return;
        } catch (const std::exception& e) {
            logger.log(Convinience::severity::error, std::string("Network event loop: ") + e.what());
        } catch (...) {
            logger.log(Convinience::severity::error, "Network event loop: unknown exception");
        }
    }
}

}  // namespace Ferro
