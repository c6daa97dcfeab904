#include "support/online/LobbyStandIn.h"

#include <sys/socket.h>
#include <sys/time.h>

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>
#include <exception>
#include <thread>

#include "foundation/ByteReader.h"
#include "net/Packet.h"
#include "net/PacketFramer.h"

namespace zarn_test {

using boost::asio::ip::tcp;
namespace link = ZarnOnline::link;

LobbyStandIn::LobbyStandIn(u16 gameServerPort, std::chrono::milliseconds timeout)
    : socket_(io_), timeout_(timeout) {
    boost::system::error_code error;
    socket_.open(tcp::v4(), error);
    socket_.bind(tcp::endpoint(boost::asio::ip::address_v4::loopback(), 0), error);
    socket_.connect(tcp::endpoint(boost::asio::ip::address_v4::loopback(), gameServerPort), error);
    if (error) return;
    socket_.set_option(tcp::no_delay(true), error);
    timeval limit{};
    limit.tv_sec = static_cast<time_t>(timeout_.count() / 1000);
    limit.tv_usec = static_cast<suseconds_t>((timeout_.count() % 1000) * 1000);
    ::setsockopt(socket_.native_handle(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ZarnOnline::LinkMessage hello;
    hello.kind = link::hello;
    hello.version = link::kVersion;
    send(hello);
    const auto welcome = read();
    linked_ = welcome && welcome->kind == link::welcome;
}

void LobbyStandIn::send(const ZarnOnline::LinkMessage& message) {
    sendRaw(ZarnOnline::encodeLinkMessage(link::kLobbyId, ++number_, message));
}

void LobbyStandIn::sendRaw(const std::vector<u8>& bytes) {
    boost::system::error_code ignored;
    boost::asio::write(socket_, boost::asio::buffer(bytes), ignored);
}

std::optional<ZarnOnline::LinkMessage> LobbyStandIn::read() {
    try {
        std::vector<u8> bytes(Ferro::Packet1337Header::kSize);
        boost::asio::read(socket_, boost::asio::buffer(bytes));
        Convinience::ByteReader reader(bytes);
        const Ferro::Packet1337Header header(reader);
        bytes.resize(Ferro::Packet1337Header::kSize + header.payloadLength);
        boost::asio::read(socket_, boost::asio::buffer(bytes.data() + Ferro::Packet1337Header::kSize,
                                                       header.payloadLength));
        return ZarnOnline::decodeLinkMessage(bytes.data(), bytes.size());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<ZarnOnline::LinkMessage> LobbyStandIn::next() {
    if (!kept_.empty()) {
        const ZarnOnline::LinkMessage message = kept_.front();
        kept_.erase(kept_.begin());
        return message;
    }
    return read();
}

bool LobbyStandIn::grant(const ZarnOnline::InstanceTerms& instance, const Zarn::PlayerInfo& player,
                         const std::string& address) {
    ZarnOnline::LinkMessage message;
    message.kind = link::grant;
    message.instance = instance;
    message.player = player;
    message.address = address;
    send(message);
    for (;;) {
        const auto answer = read();
        if (!answer) return false;
        const bool aboutIt =
            answer->instance.instanceID == instance.instanceID && answer->player.clientID == player.clientID;
        if (aboutIt && answer->kind == link::placed) return true;
        if (aboutIt && answer->kind == link::playerLeft) return false;
        kept_.push_back(*answer);
    }
}

void LobbyStandIn::revoke(u32 instanceID, u32 clientID) {
    ZarnOnline::LinkMessage message;
    message.kind = link::revoke;
    message.instance.instanceID = instanceID;
    message.player.clientID = clientID;
    send(message);
}

void LobbyStandIn::close() {
    boost::system::error_code ignored;
    socket_.shutdown(tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
}

namespace {

Zarn::GameServerHost::Options onLoopback(Zarn::GameServerHost::Options options) {
    options.address = "127.0.0.1";
    return options;
}

}  // namespace

TestGameServer::TestGameServer(Zarn::GameServerHost::Options options)
    : GameServerHost(onLoopback(std::move(options))) {
    start();
    lobby_ = std::make_unique<LobbyStandIn>(port());
}

std::string TestGameServer::endpoint() const {
    return "127.0.0.1:" + std::to_string(port());
}

bool TestGameServer::admit(u32 clientID, u8 number, const std::string& name, u32 instanceID, u32 mapHash,
                           u32 capacity) {
    ZarnOnline::InstanceTerms terms;
    terms.instanceID = instanceID;
    terms.mapHash = mapHash;
    terms.capacity = capacity;
    terms.endpoint = endpoint();
    return lobby_->grant(terms, Zarn::PlayerInfo(clientID, number, name));
}

struct GameServerStandIn::State {
    boost::asio::io_context io;
    tcp::acceptor acceptor{io, tcp::endpoint(boost::asio::ip::address_v4::loopback(), 0)};
    std::vector<std::shared_ptr<tcp::socket>> sockets;
    std::shared_ptr<tcp::socket> link;
    mutable std::mutex mutex;
    std::vector<ZarnOnline::LinkMessage> received;
    u32 number = 0;
    std::atomic<bool>* refuse = nullptr;

    void accept() {
        acceptor.async_accept([this](const boost::system::error_code& error, tcp::socket peer) {
            if (error) return;
            auto socket = std::make_shared<tcp::socket>(std::move(peer));
            boost::system::error_code ignored;
            socket->set_option(tcp::no_delay(true), ignored);
            sockets.push_back(socket);
            read(socket, std::make_shared<Ferro::PacketFramer>());
            accept();
        });
    }
    void read(std::shared_ptr<tcp::socket> socket, std::shared_ptr<Ferro::PacketFramer> framer) {
        const auto room = framer->prepare();
        socket->async_read_some(
            boost::asio::buffer(room.data(), room.size()),
            [this, socket, framer](const boost::system::error_code& error, std::size_t n) {
                if (n > 0)
                    framer->commit(n,
                                   [&](const u8* bytes, std::size_t size) { handle(socket, bytes, size); });
                if (!error) read(socket, framer);
            });
    }
    void send(const std::shared_ptr<tcp::socket>& socket, const ZarnOnline::LinkMessage& message) {
        auto bytes = std::make_shared<std::vector<u8>>(
            ZarnOnline::encodeLinkMessage(link::kGameServerId, ++number, message));
        boost::asio::async_write(*socket, boost::asio::buffer(*bytes), [bytes](const auto&, std::size_t) {});
    }
    void handle(const std::shared_ptr<tcp::socket>& socket, const u8* bytes, std::size_t size) {
        ZarnOnline::LinkMessage message;
        try {
            message = ZarnOnline::decodeLinkMessage(bytes, size);
        } catch (const std::exception&) {
            return;
        }
        {
            std::lock_guard lock(mutex);
            received.push_back(message);
        }
        ZarnOnline::LinkMessage answer;
        answer.instance.instanceID = message.instance.instanceID;
        answer.player.clientID = message.player.clientID;
        if (message.kind == link::hello) {
            link = socket;
            answer.kind = link::welcome;
            answer.version = link::kVersion;
        } else if (message.kind == link::grant) {
            answer.kind = refuse->load() ? link::playerLeft : link::placed;
        } else if (message.kind == link::revoke) {
            answer.kind = link::playerLeft;
        } else {
            return;
        }
        send(socket, answer);
    }
};

GameServerStandIn::GameServerStandIn() : state_(std::make_shared<State>()) {
    state_->refuse = &refuse_;
    port_ = state_->acceptor.local_endpoint().port();
    state_->accept();
    thread_ = std::thread([state = state_] {
        auto work = boost::asio::make_work_guard(state->io);
        state->io.run();
    });
}

GameServerStandIn::~GameServerStandIn() {
    state_->io.stop();
    thread_.join();
}

std::vector<ZarnOnline::LinkMessage> GameServerStandIn::received() const {
    std::lock_guard lock(state_->mutex);
    return state_->received;
}

void GameServerStandIn::playerLeft(u32 instanceID, u32 clientID) {
    tell(link::playerLeft, instanceID, clientID);
}

void GameServerStandIn::gameEnded(u32 instanceID) {
    tell(link::gameEnded, instanceID, 0);
}

void GameServerStandIn::tell(u32 kind, u32 instanceID, u32 clientID) {
    boost::asio::post(state_->io, [state = state_, kind, instanceID, clientID] {
        if (!state->link) return;
        ZarnOnline::LinkMessage message;
        message.kind = kind;
        message.instance.instanceID = instanceID;
        message.player.clientID = clientID;
        state->send(state->link, message);
    });
}

void GameServerStandIn::close() {
    boost::asio::post(state_->io, [state = state_] {
        boost::system::error_code ignored;
        state->acceptor.close(ignored);
        for (auto& socket : state->sockets) socket->close(ignored);
    });
}

bool linked(ZarnLobby::LobbyServer& lobby, std::size_t servers) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (lobby.stats().liveServers < servers) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::unique_ptr<TestGameServer> startTestGameServer(const std::string& mapBytes) {
    return startTestGameServer(std::map<u32, std::string>{{0, mapBytes}, {1, mapBytes}});
}

std::unique_ptr<TestGameServer> startTestGameServer(std::map<u32, std::string> maps) {
    Zarn::GameServerHost::Options options;
    options.maps = std::move(maps);
    return std::make_unique<TestGameServer>(std::move(options));
}

}  // namespace zarn_test
