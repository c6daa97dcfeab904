#include "engine/Application.h"

#include <cstdlib>

#include "engine/Director.h"

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
    while (!director->isEnded()) director->mainLoop();
    return 0;
}

}  // namespace cocos2d
