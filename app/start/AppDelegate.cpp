#include "app/start/AppDelegate.h"

#include "app/menus/ZUIMainMenuScene.h"
#include "app/start/PlatformServices.h"
#include "app/start/Settings.h"
#include "engine/Director.h"
#include "engine/EngineLog.h"
#include "engine/FileUtils.h"
#include "engine/GLView.h"
#include "engine/SpriteFrameCache.h"
#include "engine/sdl/GLViewImpl.h"
#include "foundation/Logger.h"
#include "foundation/SaveFiles.h"
#include "presentation/audio/PositionAudioEngine.h"

const cocos2d::Size AppDelegate::designSize(1024.0f, 576.0f);
const cocos2d::Vec2 AppDelegate::artReferenceSize(2560.0f, 1440.0f);
const char* const AppDelegate::kSpriteSheets[7] = {
    "2D/fish.plist",      "2D/bomb.plist",     "2D/eye.plist",    "2D/collectables.plist",
    "2D/artupdate.plist", "2D/p0_winbg.plist", "2D/ui_new.plist",
};

namespace {
// The projection's depth range: wide enough for every z the rooms use.
constexpr float kDepthNear = -2000000.0f;
constexpr float kDepthFar = 2000000.0f;
}  // namespace

AppDelegate::~AppDelegate() {
    if (PlatformServiceHook != nullptr) PlatformServiceHook->shutdown();
    saveSettings();
    uninstallPlatformServices();
}

void AppDelegate::initGLContextAttrs() {
    cocos2d::GLContextAttrs attrs;
    attrs.redBits = attrs.greenBits = attrs.blueBits = attrs.alphaBits = 8;
    attrs.depthBits = 24;
    attrs.stencilBits = 8;
    cocos2d::GLView::setGLContextAttrs(attrs);
}

bool AppDelegate::applicationDidFinishLaunching() {
    cocos2d::Director* director = cocos2d::Director::getInstance();
    cocos2d::GLView* view = director->getOpenGLView();
    if (view == nullptr) {
        view = cocos2d::GLViewImpl::createWithRect(
            kTitle, cocos2d::Rect(0, 0, designSize.width, designSize.height), 1.0f, false);
        director->setOpenGLView(view);
    }
    director->setAnimationInterval(1.0f / 60.0f);
    view->setDesignResolutionSize(designSize.width, designSize.height, cocos2d::ResolutionPolicy::SHOW_ALL);
    director->setProjection(cocos2d::Director::Projection::_2D, kDepthNear, kDepthFar);

    startLog();
    loadSettings();
    applySettings();
    installPlatformServices(Convinience::writablePath());

    cocos2d::SpriteFrameCache* frames = cocos2d::SpriteFrameCache::getInstance();
    for (const char* sheet : kSpriteSheets) frames->addSpriteFramesWithFile(sheet);
    PositionAudioEngine::createInstance();

    director->runWithScene(ZUIMainMenuScene::create(1));
    return true;
}

void AppDelegate::startLog() {
    const std::string prefix = cocos2d::FileUtils::getInstance()->getWritablePath() + "/server";
    Convinience::Logger::initialize();
    Convinience::Logger::addFileSink(prefix);
    Convinience::Logger::installSeverityFilter();
    cocos2d::setEngineLogHook([](const std::string& line) {
        thread_local const Convinience::Logger logger;
        logger.log(Convinience::severity::info, "engine: " + line);
    });
}

void AppDelegate::frameFailed(const std::exception& failure) {
    Convinience::Logger().log(Convinience::severity::error, std::string("a frame failed: ") + failure.what());
    cocos2d::Director* director = cocos2d::Director::getInstance();
    if (director->isEnded()) return;
    // What failed stops with its scene (its actions and scheduled callbacks),
    // so it cannot fail again; the player is back in the menu.
    if (cocos2d::Scene* failed = director->getRunningScene()) failed->cleanup();
    director->replaceScene(ZUIMainMenuScene::create(0));
}
