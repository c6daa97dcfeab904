#include "app/menus/ZUIMultiplayerPanelEx.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <exception>

#include "app/menus/ArtSpace.h"
#include "app/start/Settings.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "engine/Label.h"
#include "engine/ui/UITextField.h"
#include "foundation/Logger.h"
#include "online/lobby/LobbyCommands.h"
#include "online/lobby/LobbyHeaders.h"
#include "online/lobby/NetworkedZarnLobbyClient.h"

using namespace cocos2d;

namespace {

void setButtonEnabled(ZUISkewedRectButton* button, bool enabled) {
    button->state.enabled = enabled;
    if (enabled) {
        button->showNormal();
    } else {
        button->showDisabled();
    }
}

bool isOneOf(u8 state, std::initializer_list<u8> states) {
    for (u8 s : states) {
        if (s == state) return true;
    }
    return false;
}

}  // namespace

std::optional<u32> parseInstanceNumber(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
    if (start == text.size() || !std::isdigit(static_cast<unsigned char>(text[start]))) return std::nullopt;
    u32 number = 0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), number);
    if (error != std::errc()) return std::nullopt;
    return number;
}

std::string storableNickname(const std::string& text) {
    constexpr std::size_t kMaxCharacters = 14;
    std::string kept;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        length = std::min(length, text.size() - i);
        if (lead >= 0x20 && lead != 0x7F) {
            if (characters == kMaxCharacters) break;
            kept.append(text, i, length);
            ++characters;
        }
        i += length;
    }
    return kept;
}

ZUIMultiplayerPanelEx* ZUIMultiplayerPanelEx::create() {
    return createWithInit<ZUIMultiplayerPanelEx>();
}

ZUIMultiplayerPanelEx::~ZUIMultiplayerPanelEx() {
    // The base's destructor writes the settings file.
    keepNickname();
    OnlineSession::instance().leaveLobby(lobbyTicket);
}

void ZUIMultiplayerPanelEx::keepNickname() {
    if (nicknameField != nullptr)
        Settings.LAST_MULTIPLAYER_NAME = storableNickname(nicknameField->getString());
}

bool ZUIMultiplayerPanelEx::init() {
    if (!ZUIMultiplayerPanel::init()) return false;
    statusLabel = Label::createWithTTF(OnlineSession::kConnectingText, "fonts/riffic.ttf", 36, Size::ZERO);
    statusLabel->setTextColor(Color4B(147, 58, 120, 255));
    addChild(statusLabel);
    placeStatusLabel();
    nicknameField->setString(storableNickname(Settings.LAST_MULTIPLAYER_NAME));
    joinGameButton->onClick = [this] { joinInstance(); };
    coopButton->onClick = [this] { quickJoin(); };
    connectToLobby();
    scheduleUpdate();
    return true;
}

void ZUIMultiplayerPanelEx::placeStatusLabel() {
    statusLabel->setPosition(artCorner(Vec2(1763.18f, 233.355f), statusLabel->getContentSize()));
}

void ZUIMultiplayerPanelEx::setModeButtonsEnabled(bool coopAndJoin) {
    setButtonEnabled(coopButton, coopAndJoin);
    setButtonEnabled(joinGameButton, coopAndJoin);
    setButtonEnabled(customGameButton, false);
    setButtonEnabled(raceButton, false);
}

void ZUIMultiplayerPanelEx::connectToLobby(bool quiet) {
    setModeButtonsEnabled(false);
    OnlineSession& session = OnlineSession::instance();
    lobbyTicket = session.connectToLobby(quiet);
    lastConnection = session.connection();
    ZarnLobby::NetworkedZarnLobbyClient* client = session.lobbyClient();
    lobbyStatus = client != nullptr ? &client->status() : nullptr;
    lastLobbyState = lobbyStatus != nullptr ? lobbyStatus->state : 0;
}

void ZUIMultiplayerPanelEx::issue(u32 localCommandID, const std::vector<u8>& data) {
    OnlineSession& session = OnlineSession::instance();
    if (!session.owns(lobbyTicket) || session.lobbyClient() == nullptr) return;
    keepNickname();
    saveSettings();
    setModeButtonsEnabled(false);
    session.issue(localCommandID, data);
    session.addNotice(kJoiningNotice);
}

void ZUIMultiplayerPanelEx::quickJoin() {
    issue(ZarnLobby::lobby_command::quickJoin,
          ZarnLobby::ClientQuickJoinHeader(1, nicknameField->getString()).toBytes());
}

void ZUIMultiplayerPanelEx::joinInstance() {
    const std::optional<u32> number = parseInstanceNumber(instanceField->getString());
    if (!number) {
        OnlineSession::instance().addNotice(kNotANumberNotice);
        return;
    }
    issue(ZarnLobby::lobby_command::joinInstance,
          ZarnLobby::JoinInstanceHeader(*number, 1, nicknameField->getString()).toBytes());
}

void ZUIMultiplayerPanelEx::showNotices() {
    const std::vector<std::string> lines = OnlineSession::instance().takeNotices();
    if (lines.empty()) return;
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    statusLabel->setString(text);
    placeStatusLabel();
}

void ZUIMultiplayerPanelEx::update(float) {
    if (lobbyStatus == nullptr) return;
    OnlineSession& session = OnlineSession::instance();
    if (!session.owns(lobbyTicket)) {
        // A newer page has the lobby client now.
        lobbyStatus = nullptr;
        setModeButtonsEnabled(false);
        return;
    }
    try {
        if (session.connection() != lastConnection) {
            lastConnection = session.connection();
            if (lastConnection == LobbyConnection::Connected) setModeButtonsEnabled(true);
        }
        showNotices();
        session.updateLobby();
        if (session.connection() == LobbyConnection::Lost) {
            // The page is the player's again: a new connection, whose success
            // leaves the loss's notice on show.
            connectToLobby(true);
            return;
        }
        using namespace ZarnLobby;
        const u8 state = lobbyStatus->state;
        if (isOneOf(state, {IN_ROOM, GAME_LOADED, SIMULATING}) && lastLobbyState == GAME_LOADED) {
            session.enterLoadedGame();
        }
        if (isOneOf(state, {LOITERING, IN_ROOM, GAME_LOADED, SIMULATING}) &&
            lastLobbyState == WAITING_QUICK_JOIN && session.connection() == LobbyConnection::Connected) {
            setButtonEnabled(coopButton, true);
            setButtonEnabled(joinGameButton, true);
        }
        lastLobbyState = state;
    } catch (const std::exception& e) {
        Convinience::Logger().log(Convinience::severity::error,
                                  std::string("Lobby panel frame: ") + e.what());
    }
}
