#pragma once

#include <exception>
#include <functional>
#include <string>

namespace cocos2d {

enum class LanguageType {
    ENGLISH = 0,
    CHINESE,
    FRENCH,
    ITALIAN,
    GERMAN,
    SPANISH,
    DUTCH,
    RUSSIAN,
    KOREAN,
    JAPANESE
};

// The program's hooks that the engine calls, in the order of its slots.
class ApplicationProtocol {
public:
    enum class Platform { OS_WINDOWS, OS_LINUX, OS_MAC, OS_ANDROID, OS_IPHONE, OS_IPAD };

    virtual ~ApplicationProtocol() = default;
    // Set-up once the engine is ready; false ends the program.
    virtual bool applicationDidFinishLaunching() = 0;
    virtual void applicationDidEnterBackground() = 0;
    virtual void applicationWillEnterForeground() = 0;
    virtual void initGLContextAttrs() {}
    virtual void setAnimationInterval(float interval);
    virtual LanguageType getCurrentLanguage() { return LanguageType::ENGLISH; }
    virtual std::string getCurrentLanguageCode() { return "en"; }
    virtual Platform getTargetPlatform() { return Platform::OS_LINUX; }
    virtual std::string getVersion() { return ""; }
    // Asks the desktop to open a web address; false when it could not.
    virtual bool openURL(const std::string& url);
};

// The one application object. Construct the program's subclass on the stack
// of main and call run(): it calls initGLContextAttrs and
// applicationDidFinishLaunching, then runs the director's frames until the
// director ends. Without a frame driver (headless) each frame advances by the
// animation interval without waiting.
class Application : public ApplicationProtocol {
public:
    Application();
    ~Application() override;
    static Application* getInstance();

    // The process exit code.
    virtual int run();
    // Makes and steps frames; a windowed platform layer installs its own.
    using FrameDriver = int (*)(Application& app);
    static void setFrameDriver(FrameDriver driver);

    // Runs one part of a frame (the platform's input, the director's frame)
    // as every frame driver does: an exception thrown inside is caught here
    // and handed to the application's frameFailed, and the loop goes on.
    static void runGuarded(const std::function<void()>& work);
    // One director frame of `dt` seconds through runGuarded.
    static void stepFrame(float dt);
    // Called on the main thread with what a frame threw; the default logs it.
    virtual void frameFailed(const std::exception& failure);
};

}  // namespace cocos2d
