#include "search/registry_undo.h"

#include <algorithm>
#include <cstdio>

#include "platform/cp1251.h"

namespace search {

namespace {

using platform::RawValue;
using platform::ValueType;

const char* root_name(platform::Root root) {
    switch (root) {
    case platform::Root::classes_root: return "HKEY_CLASSES_ROOT";
    case platform::Root::current_user: return "HKEY_CURRENT_USER";
    case platform::Root::local_machine: return "HKEY_LOCAL_MACHINE";
    }
    return "";
}

std::u16string utf16_of(const std::string& bytes) {
    std::u16string wide;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        wide += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return wide;
}

std::u16string ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

std::u16string quoted(const std::u16string& text) {
    std::u16string out = u"\"";
    for (char16_t c : text) {
        if (c == u'\\' || c == u'"') out += u'\\';
        out += c;
    }
    return out + u"\"";
}

// A REG_SZ that the quoted form gives back exactly: one terminator at its
// end and no other control character.
std::optional<std::u16string> plain_text(const RawValue& value) {
    if (value.type != ValueType::string || value.bytes.size() % 2 != 0) return std::nullopt;
    std::u16string wide = utf16_of(value.bytes);
    if (wide.empty() || wide.back() != u'\0') return std::nullopt;
    wide.pop_back();
    if (std::any_of(wide.begin(), wide.end(), [](char16_t c) { return c < 0x20; })) return std::nullopt;
    return wide;
}

std::u16string data_text(const RawValue& value) {
    if (auto text = plain_text(value)) return quoted(*text);
    char buffer[24];
    if (value.type == ValueType::dword && value.bytes.size() == 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(value.bytes[static_cast<std::size_t>(i)]);
        std::snprintf(buffer, sizeof buffer, "dword:%08x", static_cast<unsigned>(n));
        return ascii(buffer);
    }
    std::u16string out;
    if (value.type == ValueType::binary) {
        out = u"hex:";
    } else {
        std::snprintf(buffer, sizeof buffer, "hex(%x):", static_cast<unsigned>(value.type));
        out = ascii(buffer);
    }
    for (std::size_t i = 0; i < value.bytes.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, i ? ",%02x" : "%02x", static_cast<unsigned char>(value.bytes[i]));
        out += ascii(buffer);
    }
    return out;
}

std::u16string value_line(const std::string& name, const std::optional<RawValue>& value) {
    std::u16string line = name.empty() ? u"@" : quoted(platform::cp1251_to_utf16(name));
    line += u'=';
    line += value ? data_text(*value) : u"-";
    return line + u"\r\n";
}

std::u16string key_line(platform::Root root, const std::string& key) {
    return u"[" + ascii(root_name(root)) + u"\\" + platform::cp1251_to_utf16(key) + u"]\r\n";
}

platform::Status unnamed(const std::string& key) {
    return platform::Status::failure("Раздел " + key + " содержит имена, которые программа не может записать.");
}

// A key with all its values and subkeys, depth first.
platform::Status write_tree(platform::Registry& registry, platform::Root root, const std::string& key,
                            std::u16string& out) {
    auto open = registry.open(root, key, platform::KeyAccess::read);
    if (!open) return open.status();
    out += key_line(root, key);
    for (const auto& name : (*open)->every_value_name()) {
        if (name.unrepresentable) return unnamed(key);
        if (auto value = (*open)->read_raw(name.text)) out += value_line(name.text, value);
    }
    out += u"\r\n";
    for (const auto& sub : (*open)->every_subkey_name()) {
        if (sub.unrepresentable) return unnamed(key);
        if (auto written = write_tree(registry, root, key + "\\" + sub.text, out); !written) return written;
    }
    return platform::Status::success();
}

std::string two(int n) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", n % 100);
    return buffer;
}

// The program's own file names: "yyyy-MM-dd HH.mm.ss action.reg", a second
// one of the same second "yyyy-MM-dd HH.mm.ss.02 action.reg"; they sort as
// they were made.
bool undo_file_name(const std::string& name) {
    static constexpr std::string_view shape = "0000-00-00 00.00.00";
    if (name.size() <= shape.size() + 5 || !name.ends_with(".reg")) return false;
    const auto digit = [&](std::size_t i) { return name[i] >= '0' && name[i] <= '9'; };
    for (std::size_t i = 0; i < shape.size(); ++i)
        if (shape[i] == '0' ? !digit(i) : name[i] != shape[i]) return false;
    std::size_t at = shape.size();
    if (name[at] == '.' && digit(at + 1) && digit(at + 2)) at += 3;
    return name[at] == ' ';
}

void drop_oldest(platform::FileSystem& fs, const std::string& folder) {
    std::vector<std::string> names;
    static_cast<void>(fs.enumerate(folder, [&](const platform::DirEntry& entry) {
        if (!entry.is_directory() && undo_file_name(entry.name)) names.push_back(entry.name);
        return true;
    }));
    if (names.size() <= kUndoFilesKept) return;
    std::sort(names.begin(), names.end());
    for (std::size_t i = 0; i + kUndoFilesKept < names.size(); ++i)
        static_cast<void>(fs.delete_file(folder + "\\" + names[i]));  // one too many is no harm
}

}  // namespace

platform::Result<std::string> undo_file_bytes(platform::Registry& registry, const std::vector<UndoItem>& items) {
    std::u16string text = u"Windows Registry Editor Version 5.00\r\n\r\n";
    for (std::size_t i = 0; i < items.size(); ++i) {
        const UndoItem& item = items[i];
        if (!registry.key_exists(item.root, item.key)) continue;
        if (!item.value) {
            if (auto written = write_tree(registry, item.root, item.key, text); !written) return written;
            continue;
        }
        // The values of one key go under one heading.
        if (i == 0 || !items[i - 1].value || items[i - 1].root != item.root || items[i - 1].key != item.key) {
            if (i > 0) text += u"\r\n";
            text += key_line(item.root, item.key);
        }
        auto open = registry.open(item.root, item.key, platform::KeyAccess::read);
        if (!open) return open.status();
        // An earlier item of the same key may already name this value.
        const auto same = [&](const UndoItem& other) {
            return other.value && other.root == item.root && registry.same_name(other.key, item.key) &&
                   registry.same_name(*other.value, *item.value);
        };
        if (std::any_of(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(i), same)) continue;
        std::optional<std::string> stored;
        for (const auto& name : (*open)->every_value_name())
            if (!name.unrepresentable && registry.same_name(name.text, *item.value)) stored = name.text;
        // A spelling the change is to make goes first, so that the value
        // comes back with the spelling it has now.
        if (!stored || *stored != *item.value) text += value_line(*item.value, std::nullopt);
        if (stored) text += value_line(*stored, (*open)->read_raw(*stored));
    }
    text += u"\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

platform::Result<std::string> save_undo_file(platform::Platform& platform, const store::DataFolder& data,
                                             std::string_view action, const std::vector<UndoItem>& items) {
    const std::string folder = data.path(kBackupsFolder);
    const auto refused = [&](const std::string& why) {
        return platform::Status::failure("Не удалось сохранить файл для отмены изменений в папке " + folder + ".\r" +
                                         why + "\rРеестр не изменен.");
    };
    auto bytes = undo_file_bytes(platform.registry, items);
    if (!bytes) return refused(bytes.message());
    if (!platform.fs.is_existing_folder(folder))
        if (auto made = platform.fs.create_folder(folder); !made) return refused(made.message());

    const auto now = platform.system.now();
    const std::string stamp = std::to_string(now.year) + "-" + two(now.month) + "-" + two(now.day) + " " + two(now.hour) +
                              "." + two(now.minute) + "." + two(now.second);
    const std::string tail = " " + std::string(action) + ".reg";
    std::string path = folder + "\\" + stamp + tail;
    for (int n = 2; platform.fs.attributes(path); ++n) {
        if (n > 99) return refused("Слишком много файлов за одну секунду.");
        path = folder + "\\" + stamp + "." + two(n) + tail;
    }

    if (auto written = platform::write_whole_file(platform.fs, path, *bytes); !written) return refused(written.message());
    const auto back = platform::read_whole_file(platform.fs, path);
    if (!back) return refused(back.message());
    if (*back != *bytes) return refused("Файл " + path + " прочитан не таким, каким был записан.");
    drop_oldest(platform.fs, folder);
    return path;
}

}  // namespace search
