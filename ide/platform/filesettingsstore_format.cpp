// Reading and writing the settings file's registry export text.
#include "filesettingsstore_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <unordered_map>

#include "codepage.h"

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER";

std::string_view trim(std::string_view s) {
    const auto notBlank = [](char c) { return c != ' ' && c != '\t' && c != '\r'; };
    while (!s.empty() && !notBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && !notBlank(s.back())) s.remove_suffix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::uint32_t> parseHexNumber(std::string_view s) {
    if (s.empty() || s.size() > 8) return std::nullopt;
    std::uint32_t n = 0;
    for (char c : s) {
        const int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        n = n * 16 + static_cast<std::uint32_t>(d);
    }
    return n;
}

// "41,00, 0a" to its bytes; nullopt for anything that is not such a list.
std::optional<std::string> parseHexBytes(std::string_view s) {
    std::string bytes;
    if (trim(s).empty()) return bytes;
    while (true) {
        const std::size_t comma = s.find(',');
        const std::string_view item = trim(s.substr(0, comma));
        if (item.size() > 2) return std::nullopt;
        const auto byte = parseHexNumber(item);
        if (!byte) return std::nullopt;
        bytes += static_cast<char>(*byte);
        if (comma == std::string_view::npos) return bytes;
        s.remove_prefix(comma + 1);
    }
}

// A quoted text at the start of s, with "\\" and "\"" unescaped; s is left
// after the closing quote.
std::optional<std::string> parseQuoted(std::string_view& s) {
    if (s.empty() || s.front() != '"') return std::nullopt;
    std::string text;
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (s[i] == '"') {
            s.remove_prefix(i + 1);
            return text;
        }
        if (s[i] == '\\') {
            if (++i == s.size() || (s[i] != '\\' && s[i] != '"')) return std::nullopt;
        }
        text += s[i];
    }
    return std::nullopt;
}

std::optional<SettingsValue> parseData(std::string_view data) {
    if (data.starts_with('"')) {
        auto text = parseQuoted(data);
        if (!text || !trim(data).empty()) return std::nullopt;
        return SettingsValue{kSettingsString, std::move(*text)};
    }
    if (data.starts_with("dword:")) {
        const auto n = parseHexNumber(trim(data.substr(6)));
        if (!n) return std::nullopt;
        std::string bytes(4, '\0');
        for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((*n >> (8 * i)) & 0xFF);
        return SettingsValue{kSettingsDword, std::move(bytes)};
    }
    std::uint32_t type = 3;  // "hex:" is plain binary data
    if (data.starts_with("hex(")) {
        const std::size_t close = data.find("):");
        if (close == std::string_view::npos) return std::nullopt;
        const auto n = parseHexNumber(data.substr(4, close - 4));
        if (!n) return std::nullopt;
        type = *n;
        data.remove_prefix(close + 2);
    } else if (data.starts_with("hex:")) {
        data.remove_prefix(4);
    } else {
        return std::nullopt;
    }
    auto bytes = parseHexBytes(data);
    if (!bytes) return std::nullopt;
    return SettingsValue{type, std::move(*bytes)};
}

// Key path of a section line's inside, or nullopt when it is not below
// HKEY_CURRENT_USER.
std::optional<std::string> sectionPath(std::string_view inside) {
    if (inside.size() < kRoot.size() || !sameRegName(inside.substr(0, kRoot.size()), kRoot)) {
        return std::nullopt;
    }
    inside.remove_prefix(kRoot.size());
    if (!inside.empty() && inside.front() != '\\') return std::nullopt;
    std::string path;
    while (!inside.empty()) {
        inside.remove_prefix(1);
        const std::size_t end = std::min(inside.find('\\'), inside.size());
        if (end > 0) {
            if (!path.empty()) path += '\\';
            path += inside.substr(0, end);
        }
        inside.remove_prefix(end);
    }
    return path;
}

// Physical lines with the hex continuations (",\" at the end) joined.
std::vector<std::string> logicalLines(std::string_view text) {
    std::vector<std::string> lines;
    bool continued = false;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        const bool continues = line.ends_with(",\\");
        if (continues) line.remove_suffix(1);
        if (continued) {
            lines.back() += line;
        } else {
            lines.emplace_back(line);
        }
        continued = continues;
    }
    return lines;
}

std::string folded(std::string_view name) {
    return common::toLowerAscii(name, common::CodePage::Utf8);
}

bool isPrintableUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7F) return false;
        const std::size_t len = common::charLength(common::CodePage::Utf8, s, i);
        if (c >= 0x80 && len == 1) return false;  // a stray continuation or invalid lead byte
        for (std::size_t k = 1; k < len; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += len;
    }
    return true;
}

std::string quoted(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + '"';
}

std::string hexList(std::string_view bytes) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, i == 0 ? "%02x" : ",%02x",
                      static_cast<unsigned>(static_cast<unsigned char>(bytes[i])));
        out += buf;
    }
    return out;
}

std::string formatData(const SettingsValue& v) {
    char buf[32];
    if (v.type == kSettingsString && isPrintableUtf8(v.data)) return quoted(v.data);
    if (v.type == kSettingsDword && v.data.size() == 4) {
        std::uint32_t n = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            n |= std::uint32_t{static_cast<unsigned char>(v.data[i])} << (8 * i);
        }
        std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(n));
        return buf;
    }
    if (v.type == 3) return "hex:" + hexList(v.data);
    std::snprintf(buf, sizeof buf, "hex(%x):", static_cast<unsigned>(v.type));
    return buf + hexList(v.data);
}

}  // namespace

std::optional<std::size_t> RegFileTree::find(std::string_view path) const {
    const auto at = keyIndex_.find(folded(path));
    if (at == keyIndex_.end()) return std::nullopt;
    return at->second;
}

std::size_t RegFileTree::obtain(const std::string& path) {
    const auto [at, added] = keyIndex_.try_emplace(folded(path), keys_.size());
    if (!added) return at->second;
    keys_.push_back(RegFileKey{path, {}});
    valueIndex_.emplace_back();
    for (std::size_t end = 0; end != std::string::npos; end = path.find('\\', end + 1)) {
        paths_.insert(at->first.substr(0, end));
    }
    paths_.insert(at->first);
    return at->second;
}

bool RegFileTree::exists(std::string_view path) const {
    return path.empty() || paths_.contains(folded(path));
}

const SettingsValue* RegFileTree::value(std::size_t key, std::string_view name) const {
    const auto at = valueIndex_[key].find(folded(name));
    return at == valueIndex_[key].end() ? nullptr : &keys_[key].values[at->second].value;
}

bool RegFileTree::setValue(std::size_t key, const std::string& name, SettingsValue value) {
    auto& values = keys_[key].values;
    const auto [at, added] = valueIndex_[key].try_emplace(folded(name), values.size());
    if (added) {
        values.push_back(RegFileValue{name, std::move(value)});
        return true;
    }
    SettingsValue& stored = values[at->second].value;
    if (stored == value) return false;
    stored = std::move(value);
    return true;
}

bool RegFileTree::removeValue(std::size_t key, std::string_view name) {
    auto& index = valueIndex_[key];
    const auto at = index.find(folded(name));
    if (at == index.end()) return false;
    auto& values = keys_[key].values;
    const std::size_t removed = at->second;
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(removed));
    index.erase(at);
    for (auto& [_, position] : index) {
        if (position > removed) --position;
    }
    return true;
}

bool sameRegName(std::string_view a, std::string_view b) {
    return common::equalsIgnoreCase(a, b, common::CodePage::Utf8);
}

RegFileContent parseRegFile(std::string_view text) {
    RegFileContent content;
    RegFileTree& index = content.keys;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::optional<std::size_t> current;
    bool headerSeen = false;
    for (const std::string& lineText : logicalLines(text)) {
        const std::string_view line = lineText;
        if (line.empty() || line.front() == ';') continue;
        if (!headerSeen) {
            headerSeen = true;
            if (line == kHeader) continue;
            content.damaged = true;
        }
        if (line.front() == '[') {
            const auto path =
                line.back() == ']' ? sectionPath(line.substr(1, line.size() - 2)) : std::nullopt;
            current = path ? std::optional(index.obtain(*path)) : std::nullopt;
            content.damaged = content.damaged || !path;
            continue;
        }
        std::string_view rest = line;
        std::optional<std::string> name;
        if (rest.starts_with('@')) {
            name = std::string();
            rest.remove_prefix(1);
        } else {
            name = parseQuoted(rest);
        }
        rest = trim(rest);
        std::optional<SettingsValue> value;
        if (name && rest.starts_with('=')) value = parseData(trim(rest.substr(1)));
        if (!value || !current) {
            content.damaged = true;
            continue;
        }
        index.setValue(*current, *name, std::move(*value));
    }
    return content;
}

std::string formatRegFile(const std::vector<RegFileKey>& keys) {
    std::string text = std::string(kHeader) + "\n";
    for (const auto& key : keys) {
        text += "\n[" + std::string(kRoot);
        if (!key.path.empty()) text += "\\" + key.path;
        text += "]\n";
        for (const auto& v : key.values) {
            text += (v.name.empty() ? std::string("@") : quoted(v.name)) + "=" +
                    formatData(v.value) + "\n";
        }
    }
    return text;
}
