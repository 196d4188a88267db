// The current user's settings on POSIX systems: the settings file, which
// says so in a message box when another process keeps it locked.
#include <functional>

#include "filesettingsstore.h"
#include "uiservices.h"

std::unique_ptr<SettingsStore> CreateUserSettingsStore(UiServices* ui) {
    std::function<void()> unavailable;
    if (ui != nullptr) {
        unavailable = [ui] {
            ui->showMessage(
                "設定ファイルが他のプロセスに使用されているため、設定の読み込みまたは保存ができませ"
                "んでした。",
                "Vantor", MessageIcon::Stop);
        };
    }
    return std::make_unique<FileSettingsStore>(
        FileSettingsStore::userFile(), FileSettingsStore::kLockWait, std::move(unavailable));
}
