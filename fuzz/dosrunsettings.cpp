// dosrun's settings file reader on any bytes. What it reads, shown as
// dosrun --show shows it, reads back as the same settings.
#include <cstddef>
#include <cstdint>

#include "dosdrives.h"
#include "fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    common::DosrunSettings settings;
    common::ParseDosrunSettings(fuzz::asText(data, size), settings);
    const std::string shown = common::DosrunSettingsText(settings);
    common::DosrunSettings again;
    fuzz::require(!common::ParseDosrunSettings(shown, again),
                  "the settings shown do not read back");
    fuzz::require(common::DosrunSettingsText(again) == shown,
                  "the settings shown read back differently");
    return 0;
}
