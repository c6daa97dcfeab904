#include "engine/EngineLog.h"

#include <cstdarg>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <set>

namespace cocos2d {
namespace {

struct LogState {
    std::mutex mutex;
    EngineLogHook hook;
    std::set<std::string> reported;
};

LogState& state() {
    static LogState s;
    return s;
}

}  // namespace

void setEngineLogHook(EngineLogHook hook) {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().hook = std::move(hook);
}

void engineLog(const std::string& line) {
    EngineLogHook hook;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        hook = state().hook;
    }
    if (hook) {
        hook(line);
    } else {
        std::cerr << "[engine] " << line << '\n';
    }
}

void log(const char* format, ...) {
    char buffer[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    engineLog(buffer);
}

bool logMissingAssetOnce(const std::string& kind, const std::string& name) {
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        if (!state().reported.insert(kind + '\n' + name).second) return false;
    }
    engineLog("Missing " + kind + ": " + name);
    return true;
}

void resetMissingAssetLog() {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().reported.clear();
}

}  // namespace cocos2d
