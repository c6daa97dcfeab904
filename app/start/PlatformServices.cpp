#include "app/start/PlatformServices.h"

PlatformServices* PlatformServiceHook = nullptr;
