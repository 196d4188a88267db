// A project folder kept in memory as depmill's FileSystem: files with their
// bytes, other entries (a folder, a device, a link), listed in the order
// they were made, and failures where a test asks for them.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "filesystem.h"

namespace depmill_test {

class MemoryFolder : public depmill::FileSystem {
  public:
    // A regular file with these bytes (replacing what had the name).
    MemoryFolder& file(const std::string& path, const std::string& bytes);
    // A folder: never opened, never removed, no rename lands on it.
    MemoryFolder& folder(const std::string& path);
    // A device, FIFO or socket: never opened, removed as a name.
    MemoryFolder& device(const std::string& path);
    // A link to the target: never opened nor written through, one file with
    // its target for isSameFile.
    MemoryFolder& link(const std::string& path, const std::string& target);
    // A regular file when looked at, another entry once opened: it does not open.
    MemoryFolder& changingAtOpen(const std::string& path);

    // Failures: so many new names found taken; new files not made; new
    // files made but not written whole; the first rename onto `to`; the
    // folder's listing.
    void takeNames(int count) { takenNames_ = count; }
    void refuseNewFiles() { refuseNewFiles_ = true; }
    void failWrites() { failWrites_ = true; }
    void failRenameTo(const std::string& to) { failedRenameTo_ = to; }
    void failListing() { failListing_ = true; }

    // The bytes of the file, none when the name holds no regular file.
    std::optional<std::string> bytes(const std::string& path) const;
    bool exists(const std::string& path) const { return entries_.count(key(path)) != 0; }
    // The names of the folder itself (not of its subfolders).
    std::set<std::string> names() const;

    depmill::EntryKind entryKind(const std::string& path) override;
    common::LineReader readLines(const std::string& path) override;
    std::optional<std::vector<std::string>> listFolder() override;
    bool isSameFile(const std::string& a, const std::string& b) override;
    depmill::NewFileWrite writeNewFile(const std::string& path, std::string_view bytes) override;
    bool rename(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;

  private:
    enum class Kind { File, Folder, Device, Link, Changing };
    struct Entry {
        Kind kind;
        std::string bytes;  // a file's bytes, a link's target
    };

    // Paths as the program spells them; "\" as "/" where it separates folders.
    static std::string key(const std::string& path);
    MemoryFolder& add(const std::string& path, Kind kind, const std::string& bytes);
    // The file a name stands for through at most one link.
    const Entry* resolved(const std::string& path) const;

    std::map<std::string, Entry> entries_;
    std::vector<std::string> order_;  // listing order
    int takenNames_ = 0;
    bool refuseNewFiles_ = false;
    bool failWrites_ = false;
    bool failListing_ = false;
    std::string failedRenameTo_;
};

}  // namespace depmill_test
