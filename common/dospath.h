// The path rules of DOS names, as Depmill, dosrun and the IDE read them:
// "\" and "/" separate folders, ":" ends a drive ("C:"), letters match in
// any case, and in Shift-JIS a 0x5C trail byte belongs to its character and
// separates nothing. Every rule but the case-blind lookup is text only.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codepage.h"

namespace common {

// The separator DOS writes between folders, and the one of this platform,
// which joins a host folder and a name.
inline constexpr char kDosSeparator = '\\';
#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr char kNativeSeparator = '/';
#endif

// "\" or "/": the characters between the folders of a path.
bool isFolderSeparator(char c);

// True when the path starts with a folder separator ("\SRC", "/usr").
bool startsAtRoot(std::string_view path);

// True when the second character is ":" ("C:\X", "c:x"): DOS reads the
// first as the drive, whatever it is; only a letter names one.
bool hasDrivePrefix(std::string_view path);

// True when the path does not depend on a current folder: it starts at a
// root ("\..", "/..") or with a drive letter ("X:..").
bool isAbsoluteDosPath(std::string_view path);

// Everything up to and including the last "\", "/" or ":" of the path, with
// a final separator dropped again unless it is the first character or
// follows ":" or another separator (so "c:\" and "/" keep theirs). Empty when
// the path has no separator.
std::string folderPart(std::string_view path, CodePage cp);

// Everything after the last "\", "/" or ":" of the path.
std::string fileNamePart(std::string_view path, CodePage cp);

// True when the text ends in "\", "/" or ":" (a "\" that is the trail byte
// of a double-byte character does not count).
bool endsWithSeparator(std::string_view text, CodePage cp);

// The folder, the separator (a "\" unless told) unless the folder already
// ends in one, and the name.
std::string joinFolder(std::string_view folder, std::string_view name, CodePage cp,
                       char separator = kDosSeparator);

// The path `name` stands for, seen from the host folder `folder`: empty for
// an empty name or "." (they name no place of their own), the name itself
// when it is absolute or there is no folder (a relative name stays
// relative, never "/obj"), else the folder, the platform's separator and
// the name.
std::string pathInFolder(std::string_view folder, std::string_view name);

// True when the last component of the name holds a "." ("PROG.EXE",
// "A.B\PROG." but not "A.B\PROG").
bool hasExtension(std::string_view name, CodePage cp);

// The name with the text after the last "." of its last component replaced
// by ext; a last component without a "." gets "." and ext appended.
std::string replaceExtension(std::string_view name, std::string_view ext, CodePage cp);

// The names between the folder separators of the path, in order; the empty
// ones of a leading, doubled or final separator are left out.
std::vector<std::string> dosPathNames(std::string_view path, CodePage cp);

// The path with its "." folders left out and each ".." taken back with the
// name before it, by the names alone as DOS does ("a\b\..\..\x.h" is
// "x.h" whether or not "a\b" exists); a ".." above the start stays, one at
// the root goes. The drive and root are kept, the names joined by "\".
std::string withoutDotFolders(std::string_view path, CodePage cp);

// The path with every "\" that is a separator turned into `separator`.
std::string withSeparator(std::string_view path, char separator, CodePage cp);

// The path with every "\" that is a separator turned into the platform's
// own, so names written DOS-style ("..\header\x.h") open here.
std::string nativePath(std::string_view path, CodePage cp);

// The entry of `folder` named `name` in any letter case (DOS names are
// case-blind, the host's are not), the exact name first; with
// passOverLinks a link is never the answer. Nothing when there is none.
std::optional<std::filesystem::path> EntryIgnoringCase(const std::filesystem::path& folder,
                                                       const std::string& name, CodePage cp,
                                                       bool passOverLinks);

}  // namespace common
