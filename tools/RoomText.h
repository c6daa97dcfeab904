#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/Types.h"

namespace Zarn {

// A fault in a room source or a solution script, with the 1-based line it is
// on (0 when it concerns the file as a whole). what() is "line N: message".
class RoomSourceError : public std::runtime_error {
public:
    RoomSourceError(int line, const std::string& message);
    int line() const { return line_; }
    const std::string& message() const { return message_; }

private:
    int line_;
    std::string message_;
};

// The words of one line. Words are separated by blanks; a double-quoted string
// is one word without its quotes (\" and \\ inside it stand for " and \); a ';'
// outside quotes is a word of its own; key=value keeps the key, and a quoted
// value after '=' belongs to the same word ("first=open-door 3; close-door 4").
// A '#' that starts a word begins a comment that runs to the end of the line.
std::vector<std::string> splitWords(const std::string& line, int lineNumber = 0);

// The runs of words between ';' words (empty runs left out).
std::vector<std::vector<std::string>> splitAtSemicolons(const std::vector<std::string>& words);

// Named values of a line: key=value words and bare flag words.
class Params {
public:
    Params() = default;
    // Takes the words from `first` on; every word is key=value or a flag.
    Params(const std::vector<std::string>& words, std::size_t first, int line);

    int line() const { return line_; }
    bool has(const std::string& key) const;
    bool flag(const std::string& name) const;
    std::string text(const std::string& key, const std::string& fallback = "") const;
    float number(const std::string& key, float fallback) const;
    u32 count(const std::string& key, u32 fallback) const;
    std::optional<u32> maybeCount(const std::string& key) const;
    std::vector<u32> counts(const std::string& key) const;
    std::vector<float> numbers(const std::string& key) const;
    // Throws when a key or flag was given that is not in `allowed`.
    void checkKnown(const std::vector<std::string>& allowed) const;

private:
    std::map<std::string, std::string> values_;
    std::vector<std::string> flags_;
    int line_ = 0;
};

// Parsing helpers that report the line of the word they read.
float parseNumber(const std::string& word, int line);
u32 parseCount(const std::string& word, int line);
// Comma-separated numbers ("1,2,3").
std::vector<u32> parseCountList(const std::string& word, int line);

// One symbol of the picture and what it stands for: "A: trapdoor on=1 off=2".
struct SymbolDeclaration {
    char symbol = 0;
    std::string kind;
    Params params;
    int line = 0;
};

// Any other line: its first word and the words after it.
struct Statement {
    std::string keyword;
    std::vector<std::string> words;
    int line = 0;
};

// A room source split into its parts, before any meaning is given to them.
//
//   room DEMO_Example            the map's name (the file's stem when absent)
//   cell 64                      map units per cell (64 when absent)
//   art 1                        the floor and wall art set, 1 to 4 (1)
//   grid                         the room as seen on screen, top row first;
//   ##########                   '#' wall, '.' floor, any other character a
//   #S..A...E#                   symbol declared below; all rows one length
//   ##########
//   end
//   S: spawn                     symbol declarations
//   A: trapdoor on=1 off=1.5
//   event 1 when start do enable-trap 1     any other statement
struct RoomText {
    std::string name;
    u32 cellSize = 64;
    u32 art = 1;
    // Top row first.
    std::vector<std::string> picture;
    int pictureLine = 0;
    std::vector<SymbolDeclaration> symbols;
    std::vector<Statement> statements;
};

RoomText parseRoomText(const std::string& source, const std::string& fallbackName);

}  // namespace Zarn
