// The settings file on POSIX systems: sessions under flock on a lock file
// beside it, waited for only so long; atomic replacement through a
// temporary file and rename; a damaged file kept aside before a fresh one
// takes its place, with a settings file in place at every moment.
#include "filesettingsstore.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <thread>
#include <utility>

#include "filesettingsstore_format.h"
#include "regularfile.h"

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

// The lock file beside the settings file, when it can be made and is a
// regular file of its own; -1 otherwise.
int openLockFile(const std::string& file) {
    const int fd = open((file + ".lock").c_str(),
                        O_RDWR | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) return fd;
    close(fd);
    return -1;
}

// Takes the exclusive lock, trying again until `wait` has passed.
bool takeLock(int fd, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
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

// Keeps what stands at `file` under a new name beside it while `file`
// itself stays in place: a second link to it, else a copy of the text that
// was read from it. Only what could not be read at all (a folder) is moved
// aside, since there is no settings text to lose then.
bool keepDamagedCopy(const std::string& file, const std::optional<std::string>& text) {
    const std::string copy = damagedCopyName(file);
    if (linkat(AT_FDCWD, file.c_str(), AT_FDCWD, copy.c_str(), 0) == 0) return true;
    if (!text) return std::rename(file.c_str(), copy.c_str()) == 0;
    common::FileHandle out =
        common::createNewFile(copy, common::NewFilePermissions::OwnerOnly).file;
    if (!out) return false;
    bool ok = std::fwrite(text->data(), 1, text->size(), out.get()) == text->size();
    ok = std::fflush(out.get()) == 0 && fsync(fileno(out.get())) == 0 && ok;
    ok = std::fclose(out.release()) == 0 && ok;
    if (!ok) unlink(copy.c_str());
    return ok;
}

// Removes the temporary files of saves that ended before their rename
// ("<file>.tmp-XXXXXX", and "<file>.new" of earlier versions). Called under
// the lock, so no save in progress owns one of them.
void removeLeftoverTemporaries(const std::string& file) {
    const std::string folder = folderOf(file);
    const std::string base = file.substr(file.rfind('/') + 1);
    const std::string tempPrefix = base + ".tmp-";
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        const bool temporary =
            (name.starts_with(tempPrefix) && name.size() == tempPrefix.size() + 6) ||
            name == base + ".new";
        if (temporary) unlinkat(dirfd(dir), name.c_str(), 0);
    }
    closedir(dir);
}

}  // namespace

struct FileSettingsStore::Session {
    int lockFd = -1;
    bool fileExisted = false;
    bool damaged = false;
    bool dirty = false;
    std::optional<std::string> damagedText;  // what was read from a damaged file
    RegFileTree keys;
};

class FileSettingsStore::Key : public SettingsKey {
  public:
    Key(FileSettingsStore& store, std::string path) : store_(&store), path_(std::move(path)) {}
    ~Key() override { close(); }

    std::optional<SettingsValue> read(const std::string& name) override {
        if (!store_) return std::nullopt;
        const RegFileTree& keys = store_->session_->keys;
        const auto key = keys.find(path_);
        if (!key) return std::nullopt;
        const SettingsValue* value = keys.value(*key, name);
        return value ? std::optional(*value) : std::nullopt;
    }

    bool write(const std::string& name, const SettingsValue& value) override {
        if (!store_ || hasControlCharacter(name)) return false;
        Session& session = *store_->session_;
        const std::size_t key = obtainKey(session, path_);
        session.dirty = session.keys.setValue(key, name, value) || session.dirty;
        return true;
    }

    bool remove(const std::string& name) override {
        if (!store_) return false;
        Session& session = *store_->session_;
        const auto key = session.keys.find(path_);
        if (!key || !session.keys.removeValue(*key, name)) return false;
        session.dirty = true;
        return true;
    }

    bool close() override {
        if (!store_) return true;
        FileSettingsStore* store = std::exchange(store_, nullptr);
        return --store->openKeys_ > 0 || store->endSession();
    }

    // The key in the session's tree, added (a change to save) when missing.
    static std::size_t obtainKey(Session& session, const std::string& path) {
        if (const auto key = session.keys.find(path)) return *key;
        session.dirty = true;
        return session.keys.obtain(path);
    }

  private:
    FileSettingsStore* store_;  // null once closed
    std::string path_;
};

FileSettingsStore::FileSettingsStore(std::string file, std::chrono::milliseconds lockWait,
                                     std::function<void()> unavailable)
    : file_(std::move(file)), lockWait_(lockWait), unavailable_(std::move(unavailable)) {}

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
    if (openKeys_ == 0 && !beginSession()) return nullptr;
    if (!session_->keys.exists(*normal)) {
        if (create) {
            Key::obtainKey(*session_, *normal);
        } else {
            if (openKeys_ == 0) endSession();
            return nullptr;
        }
    }
    ++openKeys_;
    return std::make_unique<Key>(*this, *normal);
}

bool FileSettingsStore::beginSession() {
    auto session = std::make_unique<Session>();
    // Without a lock file (a folder that cannot be created, or something
    // other than a file in its place) the file is still read; a write will
    // then fail on its own or replace the file atomically.
    if (makeFolders(folderOf(file_))) session->lockFd = openLockFile(file_);
    if (session->lockFd >= 0 && !takeLock(session->lockFd, lockWait_)) {
        close(session->lockFd);
        if (unavailable_) unavailable_();
        return false;
    }
    // Only a regular file is read: never through a link, never waiting for
    // a FIFO's writer or a device.
    std::string text;
    switch (common::readRegularFile(file_, text)) {
        case common::FileRead::Missing:
            break;
        case common::FileRead::Refused:
            session->fileExisted = true;
            session->damaged = true;
            break;
        case common::FileRead::Read: {
            session->fileExisted = true;
            RegFileContent content = parseRegFile(text);
            session->damaged = content.damaged;
            session->keys = std::move(content.keys);
            if (session->damaged) session->damagedText = std::move(text);
            break;
        }
    }
    session_ = std::move(session);
    return true;
}

bool FileSettingsStore::endSession() {
    std::unique_ptr<Session> session = std::move(session_);
    bool kept = true;
    if (session->dirty) {
        if (session->lockFd >= 0) removeLeftoverTemporaries(file_);
        // A damaged file is kept under another name first; the settings
        // file is then replaced in one rename, so that whenever the process
        // ends, a settings file is there.
        if (session->damaged && session->fileExisted) {
            kept = keepDamagedCopy(file_, session->damagedText);
        }
        kept = kept && replaceAtomically(file_, formatRegFile(session->keys.keys()));
    }
    if (session->lockFd >= 0) close(session->lockFd);  // also releases the lock
    return kept;
}
