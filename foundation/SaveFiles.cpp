#include "foundation/SaveFiles.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "engine/FileUtils.h"

namespace Convinience {
namespace {

StorageProvider* g_provider = nullptr;

StorageProvider* activeProvider() { return (g_provider != nullptr && g_provider->isActive()) ? g_provider : nullptr; }

std::string temporaryNameFor(const std::string& path) { return path + ".tmp" + std::to_string(::getpid()); }

// An ofstream on a temporary file that replaces its target when it ends well.
class AtomicFileStream : public std::ofstream {
public:
    explicit AtomicFileStream(std::string target)
        : std::ofstream(temporaryNameFor(target), std::ios::binary | std::ios::out | std::ios::trunc),
          target_(std::move(target)),
          temporary_(temporaryNameFor(target_)) {}

    ~AtomicFileStream() override { commit(); }

    // Renames the temporary file over the target when everything was written;
    // otherwise removes it. Answers whether the target now holds the bytes.
    bool commit() {
        if (!is_open()) return committed_;
        flush();
        const bool good = !fail();
        close();
        std::error_code ec;
        if (good && !fail()) {
            std::filesystem::rename(temporary_, target_, ec);
            if (!ec) return committed_ = true;
        }
        std::filesystem::remove(temporary_, ec);
        return false;
    }

private:
    bool committed_ = false;

    std::string target_;
    std::string temporary_;
};

}  // namespace

void setStorageProvider(StorageProvider* provider) { g_provider = provider; }

const std::string& writablePath() {
    static const std::string path = [] {
        std::string p = cocos2d::FileUtils::getInstance()->getWritablePath();
        if (p.empty() || p.back() != '/') p.push_back('/');
        return p;
    }();
    return path;
}

std::unique_ptr<std::ostream> openSaveFileForWrite(const std::string& name) {
    if (StorageProvider* provider = activeProvider()) return provider->openForWrite(name);
    return std::make_unique<AtomicFileStream>(writablePath() + name);
}

std::unique_ptr<std::istream> openSaveFileForRead(const std::string& name) {
    if (StorageProvider* provider = activeProvider()) return provider->openForRead(name);
    return std::make_unique<std::ifstream>(writablePath() + name, std::ios::binary | std::ios::in);
}

bool saveFileExists(const std::string& name) {
    if (StorageProvider* provider = activeProvider()) return provider->exists(name);
    return cocos2d::FileUtils::getInstance()->isFileExist(writablePath() + name);
}

bool writeFileAtomically(const std::string& path, const std::vector<u8>& bytes) {
    AtomicFileStream out(path);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out.commit();
}

}  // namespace Convinience
