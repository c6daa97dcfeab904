#include "tools/SolutionScript.h"

#include <map>
#include <sstream>

#include "tools/RoomText.h"

namespace Zarn {

Solution parseSolution(const std::string& text) {
    static const std::map<std::string, SolutionStep::Kind> kinds = {
        {"go", SolutionStep::Kind::go},       {"move", SolutionStep::Kind::move},
        {"reach", SolutionStep::Kind::reach}, {"wait", SolutionStep::Kind::wait},
        {"until", SolutionStep::Kind::until}, {"dismiss", SolutionStep::Kind::dismiss}};
    Solution solution;
    solution.players.resize(1);
    std::size_t player = 0;
    std::stringstream in(text);
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        const std::vector<std::string> words = splitWords(raw, line);
        if (words.empty()) continue;
        const std::string& word = words.front();
        if (word == "medal") {
            if (words.size() != 2 || (words[1] != "gold" && words[1] != "silver"))
                throw RoomSourceError(line, "expected 'medal gold' or 'medal silver'");
            solution.medal = words[1] == "gold" ? Solution::Medal::gold : Solution::Medal::silver;
            continue;
        }
        if (word == "player") {
            if (words.size() != 2) throw RoomSourceError(line, "expected 'player N'");
            player = parseCount(words[1], line);
            if (player > 3) throw RoomSourceError(line, "a room has at most four players");
            if (solution.players.size() <= player) solution.players.resize(player + 1);
            continue;
        }
        const auto kind = kinds.find(word);
        if (kind == kinds.end()) throw RoomSourceError(line, "unknown step '" + word + "'");
        SolutionStep step;
        step.kind = kind->second;
        step.line = line;
        switch (step.kind) {
            case SolutionStep::Kind::go:
            case SolutionStep::Kind::move:
            case SolutionStep::Kind::reach:
                if (words.size() != 3) throw RoomSourceError(line, "expected '" + word + " X Y'");
                step.x = parseNumber(words[1], line);
                step.y = parseNumber(words[2], line);
                break;
            case SolutionStep::Kind::wait:
            case SolutionStep::Kind::until:
                if (words.size() != 2) throw RoomSourceError(line, "expected '" + word + " SECONDS'");
                step.seconds = parseNumber(words[1], line);
                if (step.seconds < 0.0f) throw RoomSourceError(line, "a time is never negative");
                break;
            case SolutionStep::Kind::dismiss:
                if (words.size() != 1) throw RoomSourceError(line, "'dismiss' takes nothing");
                break;
        }
        solution.players[player].push_back(step);
    }
    return solution;
}

}  // namespace Zarn
