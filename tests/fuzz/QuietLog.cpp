// Linked into every fuzz target, under libFuzzer and in the corpus runner:
// the code under test logs what it refuses, which at fuzzing speed would fill
// the console and the log files with hundreds of megabytes.
#include "foundation/Logger.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Convinience::Logger::setEnabled(false);
    return 0;
}
