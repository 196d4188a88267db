// RegistryAccess over a SettingsStore: one open key at a time, typed reads with
// defaults, writes that say when they were refused.
#include "registry.h"

#include <cstdint>
#include <utility>

namespace {

// "\A\B" is taken from the root; "C" below the open key's path.
std::string resolvePath(const std::string& currentPath, const std::string& path) {
    if (!path.empty() && path.front() == '\\') return path.substr(1);
    if (currentPath.empty() || path.empty()) return currentPath.empty() ? path : currentPath;
    return currentPath + "\\" + path;
}

// False, with the message in err when given.
bool fail(std::string* err, std::string message) {
    if (err != nullptr) *err = std::move(message);
    return false;
}

}  // namespace

RegistryAccess::RegistryAccess(SettingsStore& store) : store_(store) {}

RegistryAccess::~RegistryAccess() {
    closeKey();
}

bool RegistryAccess::openKey(const std::string& path, bool canCreate) {
    std::string fullPath = resolvePath(currentPath_, path);
    auto key = store_.openKey(fullPath, canCreate);
    if (!key) return false;
    closeKey();
    key_ = std::move(key);
    currentPath_ = std::move(fullPath);
    return true;
}

bool RegistryAccess::closeKey() {
    if (!key_) return true;
    const bool kept = key_->close();
    key_.reset();
    currentPath_.clear();
    return kept;
}

bool RegistryAccess::hasValue(const std::string& name) {
    return key_ && key_->read(name).has_value();
}

std::string RegistryAccess::readString(const std::string& name, const std::string& def,
                                       std::string* err) {
    if (!key_) return def;
    const auto value = key_->read(name);
    if (!value) return def;
    if (value->type != kSettingsString && value->type != kSettingsExpandString) {
        fail(err, "'" + name + "' のﾃﾞｰﾀ型が不正です");
        return def;
    }
    return value->data.substr(0, value->data.find('\0'));
}

int RegistryAccess::readInteger(const std::string& name, int def) {
    return readDword(name).value_or(def);
}

bool RegistryAccess::readBool(const std::string& name, bool def) {
    const auto stored = readDword(name);
    return stored ? *stored != 0 : def;
}

std::optional<int> RegistryAccess::readDword(const std::string& name) {
    if (!key_) return std::nullopt;
    const auto value = key_->read(name);
    if (!value || value->type != kSettingsDword || value->data.size() > 4) return std::nullopt;
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < value->data.size(); ++i) {
        bits |= std::uint32_t{static_cast<unsigned char>(value->data[i])} << (8 * i);
    }
    return static_cast<std::int32_t>(bits);
}

bool RegistryAccess::writeString(const std::string& name, const std::string& value,
                                 std::string* err) {
    return write(name, SettingsValue{kSettingsString, value}, err);
}

bool RegistryAccess::writeInteger(const std::string& name, int value, std::string* err) {
    const auto bits = static_cast<std::uint32_t>(value);
    std::string data(4, '\0');
    for (std::size_t i = 0; i < 4; ++i) data[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return write(name, SettingsValue{kSettingsDword, data}, err);
}

bool RegistryAccess::writeBool(const std::string& name, bool value, std::string* err) {
    return writeInteger(name, value ? 1 : 0, err);
}

bool RegistryAccess::deleteValue(const std::string& name) {
    return key_ && key_->remove(name);
}

bool RegistryAccess::write(const std::string& name, const SettingsValue& value, std::string* err) {
    if (!key_ || !key_->write(name, value)) return fail(err, "'" + name + "' を書き込めません");
    return true;
}
