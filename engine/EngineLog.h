#pragma once

#include <functional>
#include <string>

namespace cocos2d {

// The engine's own log. Lines go to stderr unless a hook is installed (the
// game installs one that forwards to its logger). Safe from any thread.
using EngineLogHook = std::function<void(const std::string& line)>;
void setEngineLogHook(EngineLogHook hook);
void engineLog(const std::string& line);
// printf-style convenience with the engine's traditional name.
void log(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Logs "Missing <kind>: <name>" the first time a given kind and name are
// reported, and nothing afterwards. Returns true when it logged.
bool logMissingAssetOnce(const std::string& kind, const std::string& name);
// Forgets which names were reported (tests).
void resetMissingAssetLog();

}  // namespace cocos2d
