#pragma once

#include <string>
#include <vector>

#include "foundation/Geometry.h"
#include "world/adapters/Inputable.h"
#include "world/adapters/NodeMediator.h"
#include "world/triggers/DialogPlayer.h"

namespace Zarn {

// The engine-free logic of the dialog window: follows the dialog player,
// splits a dialog's text into lines ("&&" separates them) and hands them to
// the view a page at a time as the player taps. The view derives from it and
// implements the pure operations. Main thread only.
class DialogWindow : public Inputable {
public:
    // The node mediator belongs to the view, the table to the loaded map and
    // the player to the client; all outlive the window.
    DialogWindow(NodeMediator& node, DialogTable& table, const DialogPlayer& player);
    ~DialogWindow() override;

    // A tap at a point (map units). Answers kind 0 when the window is not
    // shown or the point lies outside it, 2 when the last page is shown (the
    // dialog is finished), 3 when the tap turned the page or sped the view up.
    InputAnswer handleInput(const GeometryLib::FPoint& position) override;
    // Called every frame by the view: opens, switches or hides the window when
    // the player's dialog or playing flag changed.
    virtual void update();

    // The page shown: one to lines-per-page lines, each valid until the next
    // page is handed over.
    virtual void showLines(const std::vector<const std::string*>& page) = 0;
    virtual void clearLines() = 0;
    // The window's opening animation still runs.
    virtual bool isOpening() = 0;
    // The page's text is still appearing.
    virtual bool isTyping() = 0;
    virtual void completeTyping() = 0;
    virtual void finishOpening() = 0;
    virtual void hideWindow() = 0;

    // The paging of handleInput without the position test: 2 or 3 as there.
    u8 nextPage();
    // Opens the dialog with that number on its first page at its position. A
    // number the table lacks gets an empty entry made in the table.
    void showDialog(u32 number);
    // Fills the lines from a text: the pieces between "&&"; a text ending in
    // "&&" gets no empty last line, one starting with it an empty first line,
    // an empty text no lines. The line index goes back to 0.
    void splitText(const std::string& text);

    // The entry of the open dialog (the view reads its speaker); null before
    // the first dialog opens.
    const DialogEntry* getOpenEntry() const { return openEntry_; }
    const std::vector<std::string>& getLines() const { return lines_; }
    // The window's node; the scene places it in the room.
    NodeMediator& getNode() const { return node_; }
    u8 isShown() const { return shown_; }
    u32 getCurrentNumber() const { return current_; }
    u32 getLinesPerPage() const { return linesPerPage_; }
    // At least 1.
    void setLinesPerPage(u32 lines) { linesPerPage_ = lines == 0 ? 1 : lines; }
    // 1 at first; cleared by the logic when it turns a page of the open dialog
    // (not when it opens one), set by the view when it starts showing a page:
    // the view tells a page turn from a newly opened dialog by it.
    u8 getPageHandover() const { return pageHandover_; }
    void setPageHandover(u8 value) { pageHandover_ = value; }
    // Added to the node's rectangle origin in the hit test.
    void setHitOffset(const GeometryLib::Point& offset) { offset_ = offset; }
    const GeometryLib::Point& getHitOffset() const { return offset_; }

private:
    // Index of the last line; the line index has reached the end when equal.
    // A dialog without lines shows one empty line and is at its end.
    bool atLastLine() const { return lines_.empty() || lineIndex_ + 1 >= lines_.size(); }
    const std::string& lineAt(std::size_t index) const;

    // Owned by the view; outlives the window.
    NodeMediator& node_;
    // Owned by the loaded map; outlives the window.
    DialogTable& table_;
    // Owned by the client; outlives the window.
    const DialogPlayer& player_;
    u8 shown_ = 0;
    u8 pageHandover_ = 1;
    u32 current_ = 0xFFFFFFFFu;
    u32 linesPerPage_ = 2;
    std::vector<std::string> lines_;
    std::size_t lineIndex_ = 0;
    GeometryLib::Point offset_;
    // Points into table_; entries of an unordered_map stay put.
    const DialogEntry* openEntry_ = nullptr;
};

}  // namespace Zarn
