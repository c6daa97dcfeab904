#pragma once

#include <optional>
#include <string>

#include "app/menus/ZUIMultiplayerPanel.h"
#include "app/online/OnlineSession.h"

namespace ZarnLobby {
struct ClientStatus;
}

// The instance number typed into the instance field: the leading decimal
// digits after any spaces; nothing when the text does not start with a digit
// or the number does not fit in 32 bits.
std::optional<u32> parseInstanceNumber(const std::string& text);

// The nickname as the settings keep it: the field's text without control
// characters (a line break would end the settings line), cut to the field's
// 14 characters (UTF-8 characters, never inside one).
std::string storableNickname(const std::string& text);

// The multiplayer page with the lobby behind it (the main menu's multiplayer
// entry opens it). Made, it connects to the lobby through the online session
// (the connect never holds the frame) and shows the lobby's notices in a
// status line in the info box. "Co-op" quick-joins and "Join\nGame" joins the
// typed instance number; "Race" and "Custom\nGame" stay disabled. Each frame
// it ticks the lobby client, and once the lobby has loaded a game it enters
// it (the online scene replaces the menu). A lobby that closes the
// connection or leaves a join unanswered is a notice, and the page connects
// again (its buttons come back once connected). Leaving the page before a
// game was loaded closes the lobby connection.
//
// The nickname field opens with the last nickname used (LAST_MULTIPLAYER_NAME
// of the settings); a join, and leaving the page, keep the typed one there
// and write the settings file.
//
// A newer page that connects takes the lobby client over: this page then
// stops ticking it and leaves it alone when it goes. Main thread only.
class ZUIMultiplayerPanelEx : public ZUIMultiplayerPanel {
public:
    static constexpr const char* kJoiningNotice = "Joining...";
    static constexpr const char* kNotANumberNotice = "Not a valid number!";

    static ZUIMultiplayerPanelEx* create();
    ~ZUIMultiplayerPanelEx() override;
    bool init() override;
    void update(float dt) override;

    // The two mode buttons' click actions.
    void quickJoin();
    void joinInstance();
    // Shows the queued notices, one per line, in place of the status text.
    void showNotices();
    // Puts the status line's bottom-left corner at (1763.18, 233.355) of the
    // canvas; after every change of its text.
    void placeStatusLabel();

    cocos2d::Label* statusLabel = nullptr;  // a child
    // The lobby client's own status (owned by the online session's client);
    // null until connected and after another page took the client over.
    ZarnLobby::ClientStatus* lobbyStatus = nullptr;
    u8 lastLobbyState = 0;

protected:
    // quiet: a success adds no notice (see OnlineSession::connectToLobby).
    void connectToLobby(bool quiet = false);
    void setModeButtonsEnabled(bool coopAndJoin);
    void issue(u32 localCommandID, const std::vector<u8>& data);
    // The typed nickname becomes the settings' last multiplayer name.
    void keepNickname();

    u64 lobbyTicket = 0;
    LobbyConnection lastConnection = LobbyConnection::None;
};
