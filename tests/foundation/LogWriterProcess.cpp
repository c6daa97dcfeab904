// A process that logs as the programs do, for the logger's tests:
//   foundation_log_writer PREFIX KEPT LINE
// starts the log with the prefix and the number of files kept, logs LINE,
// prints "logged" and then waits until its standard input closes.
#include <cstdlib>
#include <iostream>
#include <string>

#include "foundation/Logger.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: foundation_log_writer PREFIX KEPT LINE\n";
        return 2;
    }
    Convinience::Logger::initialize();
    Convinience::Logger::addFileSink(argv[1], Convinience::Logger::kRotationSize,
                                     static_cast<u32>(std::strtoul(argv[2], nullptr, 10)));
    Convinience::Logger::installSeverityFilter();
    Convinience::Logger().log(Convinience::severity::info, argv[3]);
    std::cout << "logged" << std::endl;
    std::string ignored;
    while (std::getline(std::cin, ignored)) {
    }
    return 0;
}
