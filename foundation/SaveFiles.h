#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "foundation/Types.h"

namespace Convinience {

// A platform hook that may keep the save files elsewhere. None is installed
// by the game itself; while none is, plain files under writablePath() are used.
class StorageProvider {
public:
    virtual ~StorageProvider() = default;
    virtual bool isActive() const = 0;
    virtual std::unique_ptr<std::istream> openForRead(const std::string& name) = 0;
    virtual std::unique_ptr<std::ostream> openForWrite(const std::string& name) = 0;
    virtual bool exists(const std::string& name) = 0;
};

// Installs (or, with null, removes) the provider. Set at start-up, before
// any save file is touched; not owned.
void setStorageProvider(StorageProvider* provider);

// The engine's writable directory followed by "/"; computed once.
const std::string& writablePath();

// An output stream whose bytes become the file only through commit(). A
// stream destroyed without a successful commit (a writer that failed, or
// threw half-way) leaves the old file as it was.
class SaveFileStream : public std::ostream {
public:
    ~SaveFileStream() override = default;
    // Flushes and makes the written bytes the file's content. Answers whether
    // the file now holds every byte written; a later call answers the same.
    virtual bool commit() = 0;

protected:
    SaveFileStream() : std::ostream(nullptr) {}
};

// A stream for writablePath() + name (or the provider's stream, when one is
// active). Without a provider the file is replaced atomically on commit: the
// bytes go to a temporary file of the writer's own beside it, which is renamed
// over the target.
std::unique_ptr<SaveFileStream> openSaveFileForWrite(const std::string& name);
// An input stream on writablePath() + name; in the failed state when the
// file cannot be opened.
std::unique_ptr<std::istream> openSaveFileForRead(const std::string& name);
bool saveFileExists(const std::string& name);

// Writes the bytes to `path` atomically (temporary file, flush, rename).
// Answers false, leaving any old file as it was, when that fails.
bool writeFileAtomically(const std::string& path, const std::vector<u8>& bytes);

}  // namespace Convinience
