#include "engine/Application.h"

#include <cstdlib>
#include <stdexcept>

#include "engine/Director.h"
#include "engine/EngineLog.h"

namespace cocos2d {

namespace {
Application* g_instance = nullptr;
Application::FrameDriver g_driver = nullptr;
}  // namespace

void ApplicationProtocol::setAnimationInterval(float interval) {
    Director::getInstance()->setAnimationInterval(interval);
}

bool ApplicationProtocol::openURL(const std::string& url) {
    if (url.empty() || url.find_first_of("'\"`$\\;&|<>\n") != std::string::npos) return false;
    const std::string command = "xdg-open '" + url + "' >/dev/null 2>&1 &";
    return std::system(command.c_str()) == 0;
}

Application::Application() {
    g_instance = this;
}

Application::~Application() {
    if (g_instance == this) g_instance = nullptr;
}

Application* Application::getInstance() {
    return g_instance;
}

void Application::setFrameDriver(FrameDriver driver) {
    g_driver = driver;
}

int Application::run() {
    initGLContextAttrs();
    if (!applicationDidFinishLaunching()) return 1;
    if (g_driver != nullptr) return g_driver(*this);
    Director* director = Director::getInstance();
    while (!director->isEnded()) stepFrame(director->getAnimationInterval());
    return 0;
}

void Application::stepFrame(float dt) {
    runGuarded([dt] { Director::getInstance()->mainLoop(dt); });
}

void Application::runGuarded(const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& e) {
        if (Application* app = getInstance()) {
            app->frameFailed(e);
        } else {
            engineLog(std::string("frame failed: ") + e.what());
        }
    } catch (...) {
        const std::runtime_error unknown("an exception that is not a std::exception");
        if (Application* app = getInstance()) {
            app->frameFailed(unknown);
        } else {
            engineLog("frame failed: an exception that is not a std::exception");
        }
    }
}

void Application::frameFailed(const std::exception& failure) {
    engineLog(std::string("frame failed: ") + failure.what());
}

}  // namespace cocos2d
