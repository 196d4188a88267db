// The settings file on POSIX systems: sessions under flock on a lock file
// beside it, atomic replacement through a temporary file and rename, and a
// damaged file kept aside before a fresh one takes its place.
#include "filesettingsstore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "filesettingsstore_format.h"
#include "usersettingsstore.h"

namespace {

std::string folderOf(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : file.substr(0, slash);
}

// Creates the folder and any missing parent, each with mode 0700.
bool makeFolders(const std::string& folder) {
    struct stat st {};
    if (stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const std::string parent = folderOf(folder);
    if (parent != folder && !makeFolders(parent)) return false;
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// Key names separated by single "\", without empty names; nullopt when a
// name holds a character a section line cannot carry.
std::optional<std::string> normalKeyPath(const std::string& path) {
    std::string normal;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        if (end > start) {
            if (!normal.empty()) normal += '\\';
            normal.append(path, start, end - start);
        }
        start = end + 1;
    }
    for (char c : normal) {
        if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
    }
    return normal;
}

bool hasControlCharacter(const std::string& s) {
    for (char c : s) {
        if (static_cast<unsigned char>(c) < 0x20) return true;
    }
    return false;
}

enum class ReadResult { Missing, Read, Unreadable };

ReadResult readWholeFile(const std::string& file, std::string& text) {
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Unreadable;
    struct stat st {};
    ReadResult result =
        fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? ReadResult::Read : ReadResult::Unreadable;
    char buf[8192];
    while (result == ReadResult::Read) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n > 0) {
            text.append(buf, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            result = ReadResult::Unreadable;
        }
    }
    close(fd);
    return result;
}

// Writes the text to a temporary file in the target's folder, forces it to
// disk and renames it over the target, so readers see the old file or the
// new one, never a part.
bool replaceAtomically(const std::string& target, const std::string& text) {
    std::string temp = target + ".tmp-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    FILE* out = fchmod(fd, 0600) == 0 ? fdopen(fd, "wb") : nullptr;
    if (out == nullptr) {
        close(fd);
        unlink(temp.c_str());
        return false;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    ok = std::fflush(out) == 0 && ok;
    ok = fsync(fileno(out)) == 0 && ok;
    ok = std::fclose(out) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    const int folder = open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);  // the rename itself; best effort
        close(folder);
    }
    return true;
}

// "<file>.damaged-20240131-235959", with "-2", "-3", ... when taken.
std::string damagedCopyName(const std::string& file) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = file + ".damaged-" + stamp;
    std::string name = base;
    struct stat st {};
    for (int n = 2; lstat(name.c_str(), &st) == 0; ++n) name = base + "-" + std::to_string(n);
    return name;
}

// The file that holds the text: a symbolic link's target, so replacing the
// text keeps the link.
std::string resolvedTarget(const std::string& file) {
    char resolved[PATH_MAX];
    return realpath(file.c_str(), resolved) != nullptr ? std::string(resolved) : file;
}

}  // namespace

struct FileSettingsStore::Session {
    int lockFd = -1;
    bool fileExisted = false;
    bool damaged = false;
    bool dirty = false;
    std::vector<RegFileKey> keys;

    RegFileKey* find(const std::string& path) {
        for (auto& k : keys) {
            if (sameRegName(k.path, path)) return &k;
        }
        return nullptr;
    }

    // The root and every key along a stored key's path exist as well.
    bool exists(const std::string& path) const {
        if (path.empty()) return true;
        for (const auto& k : keys) {
            if (k.path.size() >= path.size() && sameRegName(k.path.substr(0, path.size()), path) &&
                (k.path.size() == path.size() || k.path[path.size()] == '\\')) {
                return true;
            }
        }
        return false;
    }

    RegFileKey& obtain(const std::string& path) {
        if (RegFileKey* key = find(path)) return *key;
        dirty = true;
        keys.push_back(RegFileKey{path, {}});
        return keys.back();
    }
};

class FileSettingsStore::Key : public SettingsKey {
  public:
    Key(FileSettingsStore& store, std::string path) : store_(&store), path_(std::move(path)) {}
    ~Key() override { close(); }

    std::optional<SettingsValue> read(const std::string& name) override {
        const RegFileKey* key = store_ ? store_->session_->find(path_) : nullptr;
        if (key == nullptr) return std::nullopt;
        for (const auto& v : key->values) {
            if (sameRegName(v.name, name)) return v.value;
        }
        return std::nullopt;
    }

    bool write(const std::string& name, const SettingsValue& value) override {
        if (!store_ || hasControlCharacter(name)) return false;
        Session& session = *store_->session_;
        RegFileKey& key = session.obtain(path_);
        for (auto& v : key.values) {
            if (sameRegName(v.name, name)) {
                session.dirty = session.dirty || v.value != value;
                v.value = value;
                return true;
            }
        }
        key.values.push_back(RegFileValue{name, value});
        session.dirty = true;
        return true;
    }

    bool remove(const std::string& name) override {
        RegFileKey* key = store_ ? store_->session_->find(path_) : nullptr;
        if (key == nullptr) return false;
        for (auto it = key->values.begin(); it != key->values.end(); ++it) {
            if (sameRegName(it->name, name)) {
                key->values.erase(it);
                store_->session_->dirty = true;
                return true;
            }
        }
        return false;
    }

    bool close() override {
        if (!store_) return true;
        FileSettingsStore* store = std::exchange(store_, nullptr);
        return --store->openKeys_ > 0 || store->endSession();
    }

  private:
    FileSettingsStore* store_;  // null once closed
    std::string path_;
};

FileSettingsStore::FileSettingsStore(std::string file) : file_(std::move(file)) {}

FileSettingsStore::~FileSettingsStore() {
    if (session_) endSession();
}

std::string FileSettingsStore::userFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config != nullptr && config[0] == '/') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        const passwd* user = home == nullptr || home[0] == '\0' ? getpwuid(getuid()) : nullptr;
        folder = std::string(user != nullptr   ? user->pw_dir
                             : home != nullptr ? home
                                               : "") +
                 "/.config";
    }
    return folder + "/vantor/settings.reg";
}

std::unique_ptr<SettingsKey> FileSettingsStore::openKey(const std::string& path, bool create) {
    const auto normal = normalKeyPath(path);
    if (!normal) return nullptr;
    if (openKeys_ == 0) beginSession();
    if (!session_->exists(*normal)) {
        if (create) {
            session_->obtain(*normal);
        } else {
            if (openKeys_ == 0) endSession();
            return nullptr;
        }
    }
    ++openKeys_;
    return std::make_unique<Key>(*this, *normal);
}

void FileSettingsStore::beginSession() {
    session_ = std::make_unique<Session>();
    // Without the lock (a folder that cannot be created) the file is still
    // read; a write will then fail on its own.
    if (makeFolders(folderOf(file_))) {
        session_->lockFd = open((file_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        while (session_->lockFd >= 0 && flock(session_->lockFd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    std::string text;
    switch (readWholeFile(file_, text)) {
        case ReadResult::Missing:
            break;
        case ReadResult::Unreadable:
            session_->fileExisted = true;
            session_->damaged = true;
            break;
        case ReadResult::Read: {
            session_->fileExisted = true;
            RegFileContent content = parseRegFile(text);
            session_->damaged = content.damaged;
            session_->keys = std::move(content.keys);
            break;
        }
    }
}

bool FileSettingsStore::endSession() {
    std::unique_ptr<Session> session = std::move(session_);
    bool kept = true;
    if (session->dirty) {
        const std::string target = resolvedTarget(file_);
        // A damaged file is renamed aside only once its replacement is
        // complete on disk; the lock keeps other sessions out of the short
        // moment between the two renames.
        const std::string text = formatRegFile(session->keys);
        if (session->damaged && session->fileExisted) {
            std::string temp = target + ".new";
            kept = replaceAtomically(temp, text) &&
                   std::rename(target.c_str(), damagedCopyName(target).c_str()) == 0 &&
                   std::rename(temp.c_str(), target.c_str()) == 0;
            if (!kept) unlink(temp.c_str());
        } else {
            kept = replaceAtomically(target, text);
        }
    }
    if (session->lockFd >= 0) close(session->lockFd);  // also releases the lock
    return kept;
}

std::unique_ptr<SettingsStore> openUserSettingsStore() {
    return std::make_unique<FileSettingsStore>(FileSettingsStore::userFile());
}
