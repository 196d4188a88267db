// The settings store on Windows: the registry below HKEY_CURRENT_USER,
// through the ANSI registry calls.
#include <windows.h>

#include <vector>

#include "settingsstore.h"

namespace {

class RegistryKey : public SettingsKey {
  public:
    explicit RegistryKey(HKEY key) : key_(key) {}
    ~RegistryKey() override { close(); }

    std::optional<SettingsValue> read(const std::string& name) override {
        if (key_ == nullptr) return std::nullopt;
        // The value may grow between asking its size and reading it.
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD type = 0;
            DWORD size = 0;
            if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS) {
                return std::nullopt;
            }
            std::vector<BYTE> buffer(size + 1);
            DWORD got = size;
            const LONG rc =
                RegQueryValueExA(key_, name.c_str(), nullptr, &type, buffer.data(), &got);
            if (rc == ERROR_MORE_DATA) continue;
            if (rc != ERROR_SUCCESS) return std::nullopt;
            return SettingsValue{static_cast<std::uint32_t>(type),
                                 std::string(reinterpret_cast<const char*>(buffer.data()), got)};
        }
        return std::nullopt;
    }

    bool write(const std::string& name, const SettingsValue& value) override {
        return key_ != nullptr &&
               RegSetValueExA(key_, name.c_str(), 0, value.type,
                              reinterpret_cast<const BYTE*>(value.data.data()),
                              static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
    }

    bool remove(const std::string& name) override {
        return key_ != nullptr && RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS;
    }

    bool close() override {
        if (key_ == nullptr) return true;
        const bool ok = RegCloseKey(key_) == ERROR_SUCCESS;
        key_ = nullptr;
        return ok;
    }

  private:
    HKEY key_;
};

class RegistryStore : public SettingsStore {
  public:
    std::unique_ptr<SettingsKey> openKey(const std::string& path, bool create) override {
        HKEY key = nullptr;
        const LONG rc =
            create
                ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr)
                : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key);
        if (rc != ERROR_SUCCESS) return nullptr;
        return std::make_unique<RegistryKey>(key);
    }
};

}  // namespace

// The registry keeps no lock that a process could hold for long.
std::unique_ptr<SettingsStore> CreateUserSettingsStore(UiServices* /*ui*/) {
    return std::make_unique<RegistryStore>();
}
