#include "memoryfolder.h"

#include <algorithm>

namespace depmill_test {

using depmill::EntryKind;
using depmill::NewFileWrite;

std::string MemoryFolder::key(const std::string& path) {
#ifdef _WIN32
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
#else
    return path;
#endif
}

MemoryFolder& MemoryFolder::add(const std::string& path, Kind kind, const std::string& bytes) {
    const std::string name = key(path);
    if (entries_.count(name) == 0) order_.push_back(name);
    entries_[name] = Entry{kind, bytes};
    return *this;
}

MemoryFolder& MemoryFolder::file(const std::string& path, const std::string& bytes) {
    return add(path, Kind::File, bytes);
}
MemoryFolder& MemoryFolder::folder(const std::string& path) {
    return add(path, Kind::Folder, {});
}
MemoryFolder& MemoryFolder::device(const std::string& path) {
    return add(path, Kind::Device, {});
}
MemoryFolder& MemoryFolder::link(const std::string& path, const std::string& target) {
    return add(path, Kind::Link, key(target));
}
MemoryFolder& MemoryFolder::changingAtOpen(const std::string& path) {
    return add(path, Kind::Changing, {});
}

std::optional<std::string> MemoryFolder::bytes(const std::string& path) const {
    const auto entry = entries_.find(key(path));
    if (entry == entries_.end() || entry->second.kind != Kind::File) return std::nullopt;
    return entry->second.bytes;
}

std::set<std::string> MemoryFolder::names() const {
    std::set<std::string> names;
    for (const auto& [name, entry] : entries_)
        if (name.find('/') == std::string::npos) names.insert(name);
    return names;
}

const MemoryFolder::Entry* MemoryFolder::resolved(const std::string& path) const {
    auto entry = entries_.find(key(path));
    if (entry != entries_.end() && entry->second.kind == Kind::Link)
        entry = entries_.find(entry->second.bytes);
    return entry == entries_.end() ? nullptr : &entry->second;
}

EntryKind MemoryFolder::entryKind(const std::string& path) {
    const auto entry = entries_.find(key(path));
    if (entry == entries_.end()) return EntryKind::Missing;
    const Kind kind = entry->second.kind;
    return kind == Kind::File || kind == Kind::Changing ? EntryKind::RegularFile : EntryKind::Other;
}

common::LineReader MemoryFolder::readLines(const std::string& path) {
    const auto entry = entries_.find(key(path));
    if (entry == entries_.end() || entry->second.kind != Kind::File)
        return common::LineReader(common::InputFile());
    return common::LineReader::ofBytes(entry->second.bytes);
}

std::optional<std::vector<std::string>> MemoryFolder::listFolder() {
    if (failListing_) return std::nullopt;
    std::vector<std::string> listed;
    for (const std::string& name : order_)
        if (name.find('/') == std::string::npos) listed.push_back(name);
    return listed;
}

bool MemoryFolder::isSameFile(const std::string& a, const std::string& b) {
    const Entry* first = resolved(a);
    return first != nullptr && first->kind == Kind::File && first == resolved(b);
}

NewFileWrite MemoryFolder::writeNewFile(const std::string& path, std::string_view bytes) {
    if (takenNames_ > 0) {
        --takenNames_;
        return NewFileWrite::NameTaken;
    }
    if (exists(path)) return NewFileWrite::NameTaken;
    if (refuseNewFiles_) return NewFileWrite::NotCreated;
    // A write that fails leaves part of the bytes.
    file(path, std::string(bytes.substr(0, failWrites_ ? bytes.size() / 2 : bytes.size())));
    return failWrites_ ? NewFileWrite::NotWritten : NewFileWrite::Written;
}

bool MemoryFolder::rename(const std::string& from, const std::string& to) {
    if (!failedRenameTo_.empty() && key(to) == key(failedRenameTo_)) {
        failedRenameTo_.clear();
        return false;
    }
    const auto source = entries_.find(key(from));
    if (source == entries_.end()) return false;
    const auto target = entries_.find(key(to));
    if (target != entries_.end() && target->second.kind == Kind::Folder) return false;
    const Entry moved = source->second;
    entries_.erase(source);
    std::erase(order_, key(from));
    add(to, moved.kind, moved.bytes);
    return true;
}

void MemoryFolder::remove(const std::string& path) {
    const auto entry = entries_.find(key(path));
    if (entry == entries_.end() || entry->second.kind == Kind::Folder) return;
    entries_.erase(entry);
    std::erase(order_, key(path));
}

}  // namespace depmill_test
