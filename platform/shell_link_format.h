#pragma once
// The Shell Link (.lnk) binary format, read and written without the shell:
// the header, the target's item identifier list, the LinkInfo with the local
// base path (or a network path), and the string data (description, working
// folder, arguments). What it writes, IShellLink reads; what IShellLink
// writes, it reads. Texts are cp1251.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct ShellLinkData {
    std::string target;          // a full path: "C:\dir\file.exe" or "\\server\share\file"
    std::string description;
    std::string arguments;
    std::string working_folder;
    bool target_is_folder = false;
};

// The size of a shortcut's header: a shorter file is no shortcut.
constexpr std::size_t kShellLinkHeaderSize = 0x4C;

// How many bytes of a file's start tell whether it may be a shortcut.
constexpr std::size_t kShellLinkHeaderSignature = 20;

// Whether a file starting with `first_bytes` (at least the first
// kShellLinkHeaderSignature bytes) may be a shortcut: the header size 0x4C
// followed by the shell link class identifier. Anything else is not one, and
// can be rejected without reading or loading the rest.
bool starts_as_shell_link(std::string_view first_bytes);

// The bytes of a shortcut file for `link`.
std::string encode_shell_link(const ShellLinkData& link);

// The shortcut held by `bytes`; nothing when they are not a shell link. The
// target is the file-system path that the shell's GetPath reports (empty when
// the link has none): the Unicode local path, else the path the item list
// spells, else the ANSI local path, a network path taking precedence.
std::optional<ShellLinkData> decode_shell_link(const std::string& bytes);

}  // namespace platform
