#include "AppFixture.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "app/online/OnlineSession.h"
#include "app/start/Settings.h"
#include "presentation/audio/SoundPlayer.h"
#include "support/FrameManifest.h"
#include "support/TestEnvironment.h"

using namespace cocos2d;

namespace zarn_test {

std::vector<std::pair<std::string, std::string>> uiManifest() {
    std::ifstream in(std::string(ZARN_SOURCE_DIR) + "/assets/ui.manifest");
    std::vector<std::pair<std::string, std::string>> entries;
    std::string kind;
    std::string name;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto space = line.find(' ');
        if (space == std::string::npos) continue;
        entries.emplace_back(line.substr(0, space), line.substr(space + 1));
    }
    return entries;
}

const std::string& provideManifestSounds() {
    static const std::string folder = [] {
        const std::filesystem::path root = std::filesystem::path(tempDir()) / "manifest-sounds";
        for (const auto& [kind, name] : uiManifest()) {
            if (kind != "sound" && kind != "music") continue;
            const std::filesystem::path file = root / name;
            std::filesystem::create_directories(file.parent_path());
            std::ofstream(file.string()).put('\0');
        }
        FileUtils::getInstance()->addSearchPath(root.string() + "/", true);
        return root.string() + "/";
    }();
    return folder;
}

std::set<std::string> menuFrames() {
    const FrameManifest manifest =
        FrameManifest::read(std::string(ZARN_SOURCE_DIR) + "/assets/frames.manifest");
    const auto family = manifest.families.find("menus");
    return family == manifest.families.end() ? std::set<std::string>() : family->second;
}

u16 refusingPort() {
    static boost::asio::io_context io;
    static boost::asio::ip::tcp::socket socket(io);
    static const u16 port = [] {
        socket.open(boost::asio::ip::tcp::v4());
        socket.bind(boost::asio::ip::tcp::endpoint(boost::asio::ip::address_v4::loopback(), 0));
        return socket.local_endpoint().port();
    }();
    return port;
}

void useRefusingLobby() {
    OnlineSession& session = OnlineSession::instance();
    session.reset();
    const u16 port = refusingPort();
    session.lobbyAddress = [port] { return ZarnLobby::LobbyAddress{"127.0.0.1", port}; };
}

void AppFixture::SetUp() {
    Director* director = Director::getInstance();
    director->reset();
    view = GLView::create("test", Rect(0, 0, 1024, 576));
    director->setOpenGLView(view);
    view->setDesignResolutionSize(1024, 576, ResolutionPolicy::SHOW_ALL);
    experimental::AudioEngine::setBackend(
        std::make_unique<RecordingAudioBackend>(audioLog, provideManifestSounds()));
    SoundPlayer::setInstance(nullptr);
    resetSettingsForTests();
    useRefusingLobby();
}

void AppFixture::TearDown() {
    Director::getInstance()->reset();
    OnlineSession::instance().reset();
    SoundPlayer::setInstance(nullptr);
    experimental::AudioEngine::end();
    PoolManager::getInstance()->getCurrentPool()->clear();
    resetSettingsForTests();
}

bool AppFixture::framesUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        frame(1.0f / 60);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void AppFixture::run(Scene* scene) {
    Director::getInstance()->runWithScene(scene);
    frame(0.0f);
}

Vec2 AppFixture::toWindow(const Vec2& design) const {
    const Rect port = view->getViewPortRect();
    const Size d = view->getDesignResolutionSize();
    return Vec2(port.origin.x + design.x * view->getScaleX(),
                port.origin.y + (d.height - design.y) * view->getScaleY());
}

void AppFixture::mouseTo(const Vec2& design) {
    const Vec2 w = toWindow(design);
    view->handleMouseMove(w.x, w.y);
}

void AppFixture::touchDown(const Vec2& design) {
    const Vec2 w = toWindow(design);
    view->handleMouseMove(w.x, w.y);
    view->handleMouseDown(0, w.x, w.y);
}

void AppFixture::touchMove(const Vec2& design) {
    const Vec2 w = toWindow(design);
    view->handleMouseMove(w.x, w.y);
}

void AppFixture::touchUp(const Vec2& design) {
    const Vec2 w = toWindow(design);
    view->handleMouseMove(w.x, w.y);
    view->handleMouseUp(0, w.x, w.y);
}

void AppFixture::click(const Vec2& design) {
    touchDown(design);
    touchUp(design);
}

void AppFixture::pressKey(EventKeyboard::KeyCode key) {
    view->handleKey(static_cast<int>(key), true);
    view->handleKey(static_cast<int>(key), false);
}

Vec2 AppFixture::centreOf(const Node* node) {
    const Size s = node->getContentSize();
    return node->convertToWorldSpace(Vec2(s.width / 2, s.height / 2));
}

}  // namespace zarn_test
