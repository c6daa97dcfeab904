#pragma once

#include <atomic>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "foundation/CommandPusher.h"
#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "net/ClientEndpointTable.h"
#include "net/DeliveryTracker.h"
#include "net/IoStrand.h"
#include "net/SenderProcessor.h"
#include "net/TCPReciever.h"
#include "net/TCPSender.h"
#include "online/lobby/LobbyHeaders.h"
#include "online/lobby/LobbyRecords.h"

namespace ZarnLobby {

// The lobby server: accepts lobby clients over TCP, gives each a client ID
// (10 and up) and answers their quick joins and joins by instance number with
// a game instance on the configured game server.
//
// Threads: the I/O thread runs the accepts, the reads (receive, onDisconnect)
// and the writes; the send thread runs the sender processor; the logic thread
// handles the received commands (the one consumer of the incoming ring and
// the one producer of the outgoing ring). start and stop come from the
// owner's thread.
class LobbyServer : public Convinience::Reciever, public Ferro::DisconnectHandler {
public:
    static constexpr u32 kFirstClientID = 10;
    static constexpr u32 kLobbyServerID = 0;

    struct Options {
        std::string address = "0.0.0.0";
        u16 port = 0;  // 0: the system picks
        // Where the game instances run, and the game server's client ID.
        std::string gameEndpoint = "127.0.0.1:12346";
        u32 gameServerID = 1;
        u32 mapHash = 0;
        u32 capacity = GameRoom::kDefaultCapacity;
    };

    explicit LobbyServer(Options options);
    ~LobbyServer() override;
    LobbyServer(const LobbyServer&) = delete;
    LobbyServer& operator=(const LobbyServer&) = delete;

    u16 port() const { return port_; }
    void start();
    // Stops and joins the three threads; safe more than once.
    void stop();

    // I/O thread: a packet from a connection.
    void receive(const u8* bytes, std::size_t size, const std::string& endpoint) override;
    // I/O thread: a connection ended.
    void onDisconnect(const std::string& endpoint) override;

private:
    struct Client {
        ClientStatus status;
        std::string name;
        u32 instanceID = 0;
    };

    void accept();
    void runLogic();
    void handle(const Corvel::QueuedMessage& message);
    void join(u32 clientID, u32 instanceNumber, const std::string& name, u32 replyTo);
    Zarn::GameInstance& openInstance();
    void dropClient(u32 clientID);

    Options options_;
    Convinience::Logger logger_;

    // Logic thread only.
    std::map<u32, Client> clients_;
    std::map<u32, Zarn::GameInstance> instances_;
    u32 nextInstanceID_ = 1;

    // I/O thread only.
    std::unordered_map<std::string, u32> idByEndpoint_;
    u32 nextClientID_ = kFirstClientID;

    boost::asio::io_context io_;
    Ferro::IoStrand strand_{io_.get_executor()};
    std::unique_ptr<boost::asio::ip::tcp::acceptor> acceptor_;
    u16 port_ = 0;
    Convinience::Stopwatch clock_;
    Ferro::AcknowledgementQueue acknowledgements_;
    Corvel::MessageQueue incoming_{257};
    Corvel::MessageQueue outgoing_{257};
    Corvel::CommandPusher pusher_{outgoing_, 1};
    Ferro::ClientEndpointTable endpoints_;
    Ferro::TCPSender tcpSender_{strand_};
    Ferro::TCPReciever tcpReader_{strand_, *this};
    Ferro::DeliveryTracker delivery_{acknowledgements_, &clock_};
    Ferro::PacketStamp stamp_;
    Ferro::SenderProcessor sender_{tcpSender_, endpoints_, stamp_, delivery_, outgoing_};

    std::atomic<bool> running_{false};
    std::thread ioThread_;
    std::thread sendThread_;
    std::thread logicThread_;
};

}  // namespace ZarnLobby
