#include "platform/shell_link_format.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/cp1251.h"

namespace platform {

namespace {

// Link flags.
constexpr std::uint32_t kHasIdList = 0x1;
constexpr std::uint32_t kHasLinkInfo = 0x2;
constexpr std::uint32_t kHasName = 0x4;
constexpr std::uint32_t kHasRelativePath = 0x8;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;
constexpr std::uint32_t kHasIconLocation = 0x40;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kHasExpString = 0x200;

constexpr unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
// {20D04FE0-3AEA-1069-A2D8-08002B30309D}: "My Computer", the root of drive paths.
constexpr unsigned char kMyComputer[16] = {0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                           0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};
constexpr std::uint32_t kFileEntryExtension = 0xBEEF0004;
constexpr std::uint32_t kEnvironmentBlock = 0xA0000001;

// ---- writing

void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void set32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void put_utf16(std::string& out, const std::string& cp1251, bool terminate) {
    for (unsigned char c : cp1251) put16(out, cp1251_to_unicode(c));
    if (terminate) put16(out, 0);
}

std::vector<std::string> split_components(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

// One item of the list: a folder (0x31) or a file (0x32) with its name, the
// primary name in the ANSI code page and the long name in the extension block.
std::string file_entry_item(const std::string& name, bool folder) {
    std::string item;
    put16(item, 0);  // size, set below
    item += static_cast<char>(folder ? 0x31 : 0x32);
    item += '\0';
    put32(item, 0);                       // file size
    put32(item, 0);                       // modification date and time
    put16(item, folder ? 0x10 : 0x20);    // attributes
    item += name;
    item += '\0';
    if (item.size() % 2) item += '\0';
    const std::size_t extension = item.size();
    put16(item, 0);  // extension size, set below
    put16(item, 3);  // version
    put32(item, kFileEntryExtension);
    put32(item, 0);     // creation date and time
    put32(item, 0);     // access date and time
    put16(item, 0x14);  // identifier of the version
    put16(item, 0);     // no localised name
    put_utf16(item, name, true);
    put16(item, static_cast<std::uint32_t>(extension));
    item[extension] = static_cast<char>((item.size() - extension) & 0xFF);
    item[extension + 1] = static_cast<char>((item.size() - extension) >> 8);
    item[0] = static_cast<char>(item.size() & 0xFF);
    item[1] = static_cast<char>(item.size() >> 8);
    return item;
}

// The item list of a drive path ("C:\..."); empty for any other path.
std::string id_list(const ShellLinkData& link) {
    const std::string& t = link.target;
    if (t.size() < 3 || t[1] != ':' || (t[2] != '\\' && t[2] != '/')) return {};
    std::string list;
    put16(list, 0x14);
    list += '\x1F';
    list += '\x50';
    list.append(reinterpret_cast<const char*>(kMyComputer), 16);
    std::string drive;
    put16(drive, 0x19);
    drive += '\x2F';
    drive += t.substr(0, 2);
    drive += '\\';
    drive.resize(0x19, '\0');
    list += drive;
    const auto parts = split_components(t.substr(3));
    for (std::size_t i = 0; i < parts.size(); ++i)
        list += file_entry_item(parts[i], i + 1 < parts.size() || link.target_is_folder);
    put16(list, 0);  // terminal item
    std::string out;
    put16(out, static_cast<std::uint32_t>(list.size()));
    return out + list;
}

std::string link_info(const ShellLinkData& link) {
    const std::string& t = link.target;
    const bool network = t.size() > 2 && (t[0] == '\\' || t[0] == '/') && (t[1] == '\\' || t[1] == '/');
    std::string info(0x24, '\0');
    set32(info, 4, 0x24);
    if (network) {
        // "\\server\share" in the network part, the rest as the common suffix.
        std::size_t share_end = t.find_first_of("\\/", 2);
        if (share_end != std::string::npos) share_end = t.find_first_of("\\/", share_end + 1);
        const std::string net_name = t.substr(0, share_end);
        const std::string suffix = share_end == std::string::npos ? "" : t.substr(share_end + 1);
        set32(info, 8, 2);
        set32(info, 20, static_cast<std::uint32_t>(info.size()));
        std::string net;
        put32(net, 0);           // size, set below
        put32(net, 0);           // flags
        put32(net, 0x14);        // net name offset
        put32(net, 0);           // device name offset
        put32(net, 0x00020000);  // provider type (LanMan)
        net += net_name;
        net += '\0';
        set32(net, 0, static_cast<std::uint32_t>(net.size()));
        info += net;
        set32(info, 24, static_cast<std::uint32_t>(info.size()));
        info += suffix;
        info += '\0';
        set32(info, 0x20, static_cast<std::uint32_t>(info.size()));
        put_utf16(info, suffix, true);
    } else {
        set32(info, 8, 1);
        set32(info, 12, static_cast<std::uint32_t>(info.size()));
        std::string volume;
        put32(volume, 0x11);  // size
        put32(volume, 3);     // fixed drive
        put32(volume, 0);     // serial number
        put32(volume, 0x10);  // label offset
        volume += '\0';
        info += volume;
        set32(info, 16, static_cast<std::uint32_t>(info.size()));
        info += t;
        info += '\0';
        set32(info, 24, static_cast<std::uint32_t>(info.size()));
        info += '\0';  // empty common suffix
        if (info.size() % 2) info += '\0';
        set32(info, 0x1C, static_cast<std::uint32_t>(info.size()));
        put_utf16(info, t, true);
        set32(info, 0x20, static_cast<std::uint32_t>(info.size()));
        put16(info, 0);
    }
    set32(info, 0, static_cast<std::uint32_t>(info.size()));
    return info;
}

void put_string_data(std::string& out, const std::string& text) {
    put16(out, static_cast<std::uint32_t>(text.size()));
    put_utf16(out, text, false);
}

// ---- reading

class Reader {
public:
    explicit Reader(const std::string& bytes) : b_(bytes) {}
    bool has(std::size_t at, std::size_t n) const { return at <= b_.size() && n <= b_.size() - at; }
    // Past the end every byte reads as 0, so that no offset a file gives
    // leads outside it.
    std::uint32_t u8(std::size_t at) const { return at < b_.size() ? static_cast<unsigned char>(b_[at]) : 0; }
    std::uint32_t u16(std::size_t at) const { return u8(at) | (u8(at + 1) << 8); }
    std::uint32_t u32(std::size_t at) const { return u16(at) | (u16(at + 2) << 16); }
    const std::string& bytes() const { return b_; }

    // A NUL-terminated ANSI string inside [at, end).
    std::optional<std::string> ansi(std::size_t at, std::size_t end) const {
        if (end > b_.size()) end = b_.size();
        std::string out;
        for (std::size_t i = at; i < end; ++i) {
            if (b_[i] == '\0') return out;
            out += b_[i];
        }
        return std::nullopt;
    }
    // A NUL-terminated UTF-16 string inside [at, end), as cp1251 ('?' for
    // characters without a form).
    std::optional<std::string> utf16(std::size_t at, std::size_t end) const {
        if (end > b_.size()) end = b_.size();
        std::string out;
        for (std::size_t i = at; i + 1 < end; i += 2) {
            const char32_t c = u16(i);
            if (c == 0) return out;
            const auto byte = unicode_to_cp1251(c);
            out += byte ? static_cast<char>(*byte) : '?';
        }
        return std::nullopt;
    }

private:
    const std::string& b_;
};

// The path an item list spells: "My Computer", a drive, then folder and file
// entries; nothing for any other list.
std::optional<std::string> id_list_path(const Reader& r, std::size_t at, std::size_t end) {
    std::string path;
    bool drive = false;
    while (r.has(at, 2)) {
        const std::size_t size = r.u16(at);
        if (size == 0) return drive ? std::optional<std::string>(path) : std::nullopt;
        if (size < 3 || at + size > end) return std::nullopt;
        const std::uint32_t type = r.u8(at + 2);
        if (type == 0x1F) {
            // A root folder item: only "My Computer" leads to a drive path.
            if (size < 20 || r.bytes().compare(at + 4, 16, reinterpret_cast<const char*>(kMyComputer), 16) != 0)
                return std::nullopt;
        } else if ((type & 0x70) == 0x20) {
            const auto letter = r.ansi(at + 3, at + size);
            if (!letter || letter->size() < 2 || (*letter)[1] != ':') return std::nullopt;
            path = letter->substr(0, 2);
            drive = true;
        } else if ((type & 0x70) == 0x30 && drive) {
            std::optional<std::string> name;
            // The extension block: its offset is the item's last word.
            const std::size_t ext = r.u16(at + size - 2);
            if (ext % 2 == 0 && ext >= 16 && ext + 20 <= size - 2 && r.u16(at + ext) == size - ext &&
                r.u32(at + ext + 4) == kFileEntryExtension) {
                const std::uint32_t version = r.u16(at + ext + 2);
                std::size_t name_at = at + ext + 20;
                if (version >= 7) name_at += 18;
                if (version >= 8) name_at += 4;
                if (version >= 9) name_at += 4;
                name = r.utf16(name_at, at + size - 2);
            } else if (ext % 2 == 0 && ext >= 16 && ext + 20 <= size - 2 && r.u16(at + ext) == size - ext) {
                // The same block with zero version and signature.
                name = r.utf16(at + ext + 20, at + size - 2);
            }
            if (!name || name->empty()) {
                name = (type & 0x04) ? r.utf16(at + 14, at + size) : r.ansi(at + 14, at + size);
            }
            if (!name || name->empty()) return std::nullopt;
            path += '\\';
            path += *name;
        } else {
            return std::nullopt;
        }
        at += size;
    }
    return std::nullopt;
}

struct LinkInfoPaths {
    std::optional<std::string> unicode_local, ansi_local, network;
};

LinkInfoPaths link_info_paths(const Reader& r, std::size_t at) {
    LinkInfoPaths out;
    if (!r.has(at, 0x1C)) return out;
    const std::size_t size = r.u32(at), header = r.u32(at + 4);
    if (size < 0x1C || !r.has(at, size)) return out;
    const std::size_t end = at + size;
    const std::uint32_t flags = r.u32(at + 8);
    const std::size_t suffix_offset = r.u32(at + 24);
    const std::optional<std::string> suffix =
        suffix_offset ? r.ansi(at + suffix_offset, end) : std::optional<std::string>("");
    std::optional<std::string> suffix_unicode;
    if (header >= 0x24 && r.u32(at + 0x20)) suffix_unicode = r.utf16(at + r.u32(at + 0x20), end);
    const auto join = [](std::string base, const std::string& rest) {
        if (rest.empty()) return base;
        if (!base.empty() && base.back() != '\\') base += '\\';
        return base + rest;
    };
    if (flags & 1) {
        if (const std::size_t local = r.u32(at + 16)) {
            const auto base = r.ansi(at + local, end);
            if (base && suffix) out.ansi_local = join(*base, *suffix);
        }
        if (header >= 0x24 && r.u32(at + 0x1C)) {
            const auto base = r.utf16(at + r.u32(at + 0x1C), end);
            const auto& rest = suffix_unicode ? suffix_unicode : suffix;
            if (base && rest) out.unicode_local = join(*base, *rest);
        }
    }
    if ((flags & 2) && r.u32(at + 20)) {
        const std::size_t net = at + r.u32(at + 20);
        if (r.has(net, 0x14)) {
            const std::size_t net_end = std::min(end, net + r.u32(net));
            std::optional<std::string> name;
            if (r.u32(net + 8) > 0x14 && r.has(net, 0x1C) && r.u32(net + 0x14))
                name = r.utf16(net + r.u32(net + 0x14), net_end);
            if (!name) name = r.ansi(net + r.u32(net + 8), net_end);
            const auto& rest = suffix_unicode ? suffix_unicode : suffix;
            if (name && rest) out.network = join(*name, *rest);
        }
    }
    return out;
}

}  // namespace

std::string encode_shell_link(const ShellLinkData& link) {
    const std::string ids = id_list(link);
    std::uint32_t flags = kHasLinkInfo | kIsUnicode;
    if (!ids.empty()) flags |= kHasIdList;
    if (!link.description.empty()) flags |= kHasName;
    if (!link.working_folder.empty()) flags |= kHasWorkingDir;
    if (!link.arguments.empty()) flags |= kHasArguments;

    std::string out;
    put32(out, 0x4C);
    out.append(reinterpret_cast<const char*>(kLinkClsid), 16);
    put32(out, flags);
    put32(out, link.target_is_folder ? 0x10 : 0x20);
    out.append(24, '\0');  // creation, access and write times
    put32(out, 0);         // file size
    put32(out, 0);         // icon index
    put32(out, 1);         // shown normally
    put16(out, 0);         // hot key
    out.append(10, '\0');  // reserved
    out += ids;
    out += link_info(link);
    if (flags & kHasName) put_string_data(out, link.description);
    if (flags & kHasWorkingDir) put_string_data(out, link.working_folder);
    if (flags & kHasArguments) put_string_data(out, link.arguments);
    put32(out, 0);  // no extra data
    return out;
}

bool starts_as_shell_link(std::string_view first_bytes) {
    return first_bytes.size() >= kShellLinkHeaderSignature && first_bytes.substr(0, 4) == std::string_view("\x4C\0\0\0", 4) &&
           first_bytes.substr(4, 16) == std::string_view(reinterpret_cast<const char*>(kLinkClsid), 16);
}

std::optional<ShellLinkData> decode_shell_link(const std::string& bytes) {
    const Reader r(bytes);
    if (!r.has(0, 0x4C) || !starts_as_shell_link(bytes)) return std::nullopt;
    const std::uint32_t flags = r.u32(20);
    ShellLinkData link;
    link.target_is_folder = r.u32(24) & 0x10;
    std::size_t at = 0x4C;

    std::optional<std::string> from_ids;
    if (flags & kHasIdList) {
        if (!r.has(at, 2)) return std::nullopt;
        const std::size_t size = r.u16(at);
        if (!r.has(at + 2, size)) return std::nullopt;
        from_ids = id_list_path(r, at + 2, at + 2 + size);
        at += 2 + size;
    }
    LinkInfoPaths paths;
    if (flags & kHasLinkInfo) {
        if (!r.has(at, 4)) return std::nullopt;
        paths = link_info_paths(r, at);
        at += r.u32(at);
    }
    const bool unicode = flags & kIsUnicode;
    const auto string_data = [&](std::string* into) {
        if (!r.has(at, 2)) return false;
        const std::size_t count = r.u16(at);
        at += 2;
        const std::size_t bytes_needed = unicode ? count * 2 : count;
        if (!r.has(at, bytes_needed)) return false;
        std::string text;
        for (std::size_t i = 0; i < count; ++i) {
            if (unicode) {
                const auto byte = unicode_to_cp1251(r.u16(at + 2 * i));
                text += byte ? static_cast<char>(*byte) : '?';
            } else {
                text += bytes[at + i];
            }
        }
        at += bytes_needed;
        // Some writers count the terminator as well.
        if (const std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
        if (into) *into = text;
        return true;
    };
    if ((flags & kHasName) && !string_data(&link.description)) return std::nullopt;
    if ((flags & kHasRelativePath) && !string_data(nullptr)) return std::nullopt;
    if ((flags & kHasWorkingDir) && !string_data(&link.working_folder)) return std::nullopt;
    if ((flags & kHasArguments) && !string_data(&link.arguments)) return std::nullopt;
    if ((flags & kHasIconLocation) && !string_data(nullptr)) return std::nullopt;

    std::optional<std::string> from_environment;
    if (flags & kHasExpString) {
        // Extra data blocks: the environment-variable target, if any.
        while (r.has(at, 8) && r.u32(at) >= 8) {
            const std::size_t size = r.u32(at);
            if (!r.has(at, size)) break;
            if (r.u32(at + 4) == kEnvironmentBlock && size >= 0x314) {
                from_environment = r.utf16(at + 8 + 260, at + size);
                if (!from_environment || from_environment->empty()) from_environment = r.ansi(at + 8, at + 8 + 260);
            }
            at += size;
        }
    }

    if (paths.network) link.target = *paths.network;
    else if (paths.unicode_local) link.target = *paths.unicode_local;
    else if (from_ids) link.target = *from_ids;
    else if (paths.ansi_local) link.target = *paths.ansi_local;
    else if (from_environment) link.target = *from_environment;
    return link;
}

}  // namespace platform
