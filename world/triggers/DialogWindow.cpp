#include "world/triggers/DialogWindow.h"

namespace Zarn {
namespace {

const std::string kEmptyLine;

// A size from the view as a whole 16-bit number of units.
float truncated16(float v) {
    return static_cast<float>(GeometryLib::clampedPointCoordinate(v));
}

}  // namespace

DialogWindow::DialogWindow(NodeMediator& node, DialogTable& table, const DialogPlayer& player)
    : node_(node), table_(table), player_(player) {}

DialogWindow::~DialogWindow() = default;

void DialogWindow::update() {
    const u8 playing = player_.isPlaying();
    if (shown_ == playing && current_ == player_.getCurrent()) return;
    shown_ = playing;
    if (playing == 0) {
        hideWindow();
    } else {
        showDialog(player_.getCurrent());
    }
}

InputAnswer DialogWindow::handleInput(const GeometryLib::FPoint& position) {
    if (shown_ == 0) return {0, position};
    const GeometryLib::FRect rect = node_.getRect();
    const float x0 = rect.origin.x + static_cast<float>(offset_.x);
    const float y0 = rect.origin.y + static_cast<float>(offset_.y);
    const float width = truncated16(rect.width);
    const float height = truncated16(rect.height);
    const bool inside =
        x0 <= position.x && position.x < x0 + width && y0 <= position.y && position.y < y0 + height;
    if (!inside) return {0, position};
    return {nextPage(), position};
}

u8 DialogWindow::nextPage() {
    if (isOpening()) {
        finishOpening();
        return 3;
    }
    if (isTyping()) {
        completeTyping();
        return 3;
    }
    if (atLastLine()) return 2;
    clearLines();
    std::vector<const std::string*> page;
    for (u32 i = 0; i < linesPerPage_ && !atLastLine(); ++i) {
        ++lineIndex_;
        page.push_back(&lines_[lineIndex_]);
    }
    pageHandover_ = 0;
    showLines(page);
    return 3;
}

void DialogWindow::showDialog(u32 number) {
    current_ = number;
    shown_ = 1;
    DialogEntry& entry = table_[number];
    openEntry_ = &entry;
    node_.setPosition(static_cast<float>(entry.position.x), static_cast<float>(entry.position.y));
    splitText(entry.text);
    std::vector<const std::string*> page{&lineAt(lineIndex_)};
    for (u32 i = 1; i < linesPerPage_ && !atLastLine(); ++i) {
        ++lineIndex_;
        page.push_back(&lines_[lineIndex_]);
    }
    showLines(page);
}

void DialogWindow::splitText(const std::string& text) {
    lines_.clear();
    lineIndex_ = 0;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t separator = text.find("&&", begin);
        if (separator == std::string::npos) {
            lines_.push_back(text.substr(begin));
            break;
        }
        lines_.push_back(text.substr(begin, separator - begin));
        begin = separator + 2;
    }
}

const std::string& DialogWindow::lineAt(std::size_t index) const {
    return index < lines_.size() ? lines_[index] : kEmptyLine;
}

}  // namespace Zarn
