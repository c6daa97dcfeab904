#include "foundation/SaveFiles.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>

#include "engine/FileUtils.h"

namespace Convinience {
namespace {

StorageProvider* g_provider = nullptr;

StorageProvider* activeProvider() {
    return (g_provider != nullptr && g_provider->isActive()) ? g_provider : nullptr;
}

// A name beside the target that no other writer of this or another process uses.
std::string temporaryNameFor(const std::string& path) {
    static std::atomic<u64> writers{0};
    return path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(writers.fetch_add(1));
}

// Writes into a temporary file that replaces its target on a successful commit.
class AtomicFileStream : public SaveFileStream {
public:
    explicit AtomicFileStream(std::string target)
        : target_(std::move(target)), temporary_(temporaryNameFor(target_)) {
        rdbuf(&file_);
        if (!file_.open(temporary_, std::ios::binary | std::ios::out | std::ios::trunc))
            setstate(std::ios::failbit);
    }

    ~AtomicFileStream() override {
        if (file_.is_open()) discard();
    }

    bool commit() override {
        if (!file_.is_open()) return committed_;
        flush();
        const bool written = !fail();
        const bool closed = file_.close() != nullptr;
        std::error_code ec;
        if (written && closed) {
            std::filesystem::rename(temporary_, target_, ec);
            if (!ec) return committed_ = true;
        }
        std::filesystem::remove(temporary_, ec);
        setstate(std::ios::failbit);
        return false;
    }

private:
    void discard() {
        file_.close();
        std::error_code ec;
        std::filesystem::remove(temporary_, ec);
    }

    std::filebuf file_;
    std::string target_;
    std::string temporary_;
    bool committed_ = false;
};

// A provider's stream: the provider decides where the bytes go; commit flushes
// and reports the stream's state.
class ProviderStream : public SaveFileStream {
public:
    explicit ProviderStream(std::unique_ptr<std::ostream> inner) : inner_(std::move(inner)) {
        if (inner_) {
            rdbuf(inner_->rdbuf());
            setstate(inner_->rdstate());
        } else {
            setstate(std::ios::badbit);
        }
    }

    bool commit() override {
        if (!inner_) return false;
        flush();
        inner_->flush();
        return !fail() && !inner_->fail();
    }

private:
    std::unique_ptr<std::ostream> inner_;
};

}  // namespace

void setStorageProvider(StorageProvider* provider) {
    g_provider = provider;
}

const std::string& writablePath() {
    static const std::string path = [] {
        std::string p = cocos2d::FileUtils::getInstance()->getWritablePath();
        if (p.empty() || p.back() != '/') p.push_back('/');
        return p;
    }();
    return path;
}

std::unique_ptr<SaveFileStream> openSaveFileForWrite(const std::string& name) {
    if (StorageProvider* provider = activeProvider())
        return std::make_unique<ProviderStream>(provider->openForWrite(name));
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
