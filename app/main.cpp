#include "app/start/AppDelegate.h"

// The program takes no command-line options and reads no environment.
int main() {
    AppDelegate app;
    return cocos2d::Application::getInstance()->run();
}
