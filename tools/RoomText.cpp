#include "tools/RoomText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

namespace Zarn {

namespace {

std::string trimRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.pop_back();
    return s;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

RoomSourceError::RoomSourceError(int line, const std::string& message)
    : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + message : message),
      line_(line),
      message_(message) {}

std::vector<std::string> splitWords(const std::string& line, int lineNumber) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#') break;
        if (line[i] == ';') {
            words.emplace_back(";");
            ++i;
            continue;
        }
        std::string word;
        bool quoted = false;
        while (i < line.size() && (quoted || (!isBlank(line[i]) && line[i] != ';'))) {
            const char c = line[i];
            if (c == '"') {
                quoted = !quoted;
                ++i;
                continue;
            }
            if (quoted && c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
                word.push_back(line[i + 1]);
                i += 2;
                continue;
            }
            word.push_back(c);
            ++i;
        }
        if (quoted) throw RoomSourceError(lineNumber, "a quoted text is not closed");
        words.push_back(std::move(word));
    }
    return words;
}

std::vector<std::vector<std::string>> splitAtSemicolons(const std::vector<std::string>& words) {
    std::vector<std::vector<std::string>> runs(1);
    for (const std::string& w : words) {
        if (w == ";")
            runs.emplace_back();
        else
            runs.back().push_back(w);
    }
    runs.erase(std::remove_if(runs.begin(), runs.end(), [](const auto& r) { return r.empty(); }), runs.end());
    return runs;
}

float parseNumber(const std::string& word, int line) {
    float value = 0.0f;
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        throw RoomSourceError(line, "'" + word + "' is not a number");
    return value;
}

u32 parseCount(const std::string& word, int line) {
    u32 value = 0;
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value);
    if (ec != std::errc() || ptr != end) throw RoomSourceError(line, "'" + word + "' is not a whole number");
    return value;
}

std::vector<u32> parseCountList(const std::string& word, int line) {
    std::vector<u32> values;
    std::stringstream in(word);
    std::string part;
    while (std::getline(in, part, ',')) {
        if (!part.empty()) values.push_back(parseCount(part, line));
    }
    return values;
}

Params::Params(const std::vector<std::string>& words, std::size_t first, int line) : line_(line) {
    for (std::size_t i = first; i < words.size(); ++i) {
        const std::string& w = words[i];
        const std::size_t eq = w.find('=');
        if (eq == std::string::npos) {
            flags_.push_back(w);
        } else {
            const std::string key = w.substr(0, eq);
            if (key.empty()) throw RoomSourceError(line, "'" + w + "' has no name before '='");
            if (values_.count(key)) throw RoomSourceError(line, "'" + key + "' is given twice");
            values_[key] = w.substr(eq + 1);
        }
    }
}

bool Params::has(const std::string& key) const {
    return values_.count(key) != 0;
}

bool Params::flag(const std::string& name) const {
    return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
}

std::string Params::text(const std::string& key, const std::string& fallback) const {
    const auto it = values_.find(key);
    return it == values_.end() ? fallback : it->second;
}

float Params::number(const std::string& key, float fallback) const {
    const auto it = values_.find(key);
    return it == values_.end() ? fallback : parseNumber(it->second, line_);
}

u32 Params::count(const std::string& key, u32 fallback) const {
    const auto it = values_.find(key);
    return it == values_.end() ? fallback : parseCount(it->second, line_);
}

std::optional<u32> Params::maybeCount(const std::string& key) const {
    const auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return parseCount(it->second, line_);
}

std::vector<u32> Params::counts(const std::string& key) const {
    const auto it = values_.find(key);
    return it == values_.end() ? std::vector<u32>{} : parseCountList(it->second, line_);
}

std::vector<float> Params::numbers(const std::string& key) const {
    std::vector<float> values;
    const auto it = values_.find(key);
    if (it == values_.end()) return values;
    std::stringstream in(it->second);
    std::string part;
    while (std::getline(in, part, ',')) values.push_back(parseNumber(part, line_));
    return values;
}

void Params::checkKnown(const std::vector<std::string>& allowed) const {
    auto known = [&](const std::string& k) {
        return std::find(allowed.begin(), allowed.end(), k) != allowed.end();
    };
    for (const auto& [key, value] : values_) {
        if (!known(key)) throw RoomSourceError(line_, "unknown setting '" + key + "'");
    }
    for (const std::string& f : flags_) {
        if (!known(f)) throw RoomSourceError(line_, "unknown word '" + f + "'");
    }
}

RoomText parseRoomText(const std::string& source, const std::string& fallbackName) {
    RoomText room;
    room.name = fallbackName;
    std::stringstream in(source);
    std::string raw;
    int lineNumber = 0;
    bool inGrid = false;
    bool sawGrid = false;
    while (std::getline(in, raw)) {
        ++lineNumber;
        if (inGrid) {
            const std::string row = trimRight(raw);
            if (row == "end") {
                inGrid = false;
                continue;
            }
            if (row.empty()) throw RoomSourceError(lineNumber, "an empty row inside the grid");
            room.picture.push_back(row);
            continue;
        }
        const std::vector<std::string> words = splitWords(raw, lineNumber);
        if (words.empty()) continue;
        const std::string& first = words.front();
        if (first.size() == 2 && first[1] == ':') {
            if (words.size() < 2) throw RoomSourceError(lineNumber, "symbol '" + first + "' names no kind");
            room.symbols.push_back(
                SymbolDeclaration{first[0], words[1], Params(words, 2, lineNumber), lineNumber});
        } else if (first == "grid") {
            if (sawGrid) throw RoomSourceError(lineNumber, "a second grid");
            inGrid = sawGrid = true;
            room.pictureLine = lineNumber + 1;
        } else if (first == "room" || first == "cell" || first == "art") {
            if (words.size() != 2) throw RoomSourceError(lineNumber, "'" + first + "' takes one value");
            if (first == "room") room.name = words[1];
            if (first == "cell") room.cellSize = parseCount(words[1], lineNumber);
            if (first == "art") room.art = parseCount(words[1], lineNumber);
        } else {
            room.statements.push_back(
                Statement{first, std::vector<std::string>(words.begin() + 1, words.end()), lineNumber});
        }
    }
    if (inGrid) throw RoomSourceError(lineNumber, "the grid has no 'end'");
    if (!sawGrid || room.picture.empty()) throw RoomSourceError(0, "the room has no grid");
    if (room.cellSize < 8 || room.cellSize > 256) throw RoomSourceError(0, "the cell size must be 8 to 256");
    if (room.art < 1 || room.art > 4) throw RoomSourceError(0, "the art set must be 1 to 4");
    return room;
}

}  // namespace Zarn
