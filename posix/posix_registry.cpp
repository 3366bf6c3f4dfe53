#include "posix/posix_registry.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/cp1251.h"
#include "posix/errors.h"

namespace platform::posix {

namespace {

unsigned char upper_byte(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || c >= 0xE0) return static_cast<unsigned char>(c - 32);
    switch (c) {
        case 0xB8: return 0xA8;  // ё
        case 0xA2: return 0xA1;
        case 0xB3: return 0xB2;
        case 0xB4: return 0xA5;
        case 0xBA: return 0xAA;
        case 0xBF: return 0xAF;
        case 0xBC: return 0xA3;
        case 0xBE: return 0xBD;
        case 0x9A: return 0x8A;
        case 0x9C: return 0x8C;
        case 0x9D: return 0x8D;
        case 0x9E: return 0x8E;
        case 0x9F: return 0x8F;
        case 0x90: return 0x80;
        case 0x83: return 0x81;
        default: return c;
    }
}

std::string upper(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(upper_byte(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string> split_key_path(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

const char* root_name(Root root) {
    switch (root) {
        case Root::classes_root: return "HKEY_CLASSES_ROOT";
        case Root::current_user: return "HKEY_CURRENT_USER";
        case Root::local_machine: return "HKEY_LOCAL_MACHINE";
    }
    return "";
}

Status key_deleted() {
    return Status::failure("Недопустимая операция для раздела, помеченного для удаления.");
}

void mark_deleted(PosixRegistry::Key& key) {
    key.deleted = true;
    for (auto& [name, sub] : key.subkeys) mark_deleted(*sub);
}

using Value = PosixRegistry::Value;
using Key = PosixRegistry::Key;

Value* find_value(Key& key, const std::string& name) {
    const std::string wanted = upper(name);
    for (auto& v : key.values)
        if (upper(v.name) == wanted) return &v;
    return nullptr;
}

void set_value(Key& key, const std::string& name, ValueType type, std::string data) {
    if (Value* v = find_value(key, name)) {
        v->type = type;
        v->data = std::move(data);
    } else {
        key.values.push_back({name, type, std::move(data)});
    }
}

// UTF-16 LE bytes as cp1251; nothing when a character has no form.
std::optional<std::string> utf16le_text(const std::string& bytes) {
    std::u16string wide;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        wide += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    bool lossy = false;
    std::string out = utf16_to_cp1251(wide, &lossy);
    if (lossy) return std::nullopt;
    return out;
}

class PosixKey : public RegistryKey {
public:
    PosixKey(std::shared_ptr<Key> key, KeyAccess access) : key_(std::move(key)), access_(access) {}

    std::vector<std::string> subkey_names() override {
        std::vector<std::string> names;
        if (!key_->deleted)
            for (const auto& [folded, sub] : key_->subkeys) names.push_back(sub->name);
        return names;
    }
    std::vector<std::string> value_names() override {
        std::vector<std::string> names;
        if (!key_->deleted)
            for (const auto& v : key_->values) names.push_back(v.name);
        return names;
    }
    std::optional<ValueType> value_type(const std::string& name) override {
        if (key_->deleted) return std::nullopt;
        const Value* v = find_value(*key_, name);
        return v ? std::optional<ValueType>(v->type) : std::nullopt;
    }
    std::optional<std::string> read_string(const std::string& name) override {
        if (key_->deleted) return std::nullopt;
        const Value* v = find_value(*key_, name);
        if (!v || (v->type != ValueType::string && v->type != ValueType::expand_string)) return std::nullopt;
        return v->data;
    }
    std::optional<std::uint32_t> read_dword(const std::string& name) override {
        if (key_->deleted) return std::nullopt;
        const Value* v = find_value(*key_, name);
        if (!v || v->type != ValueType::dword || v->data.size() != 4) return std::nullopt;
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(v->data[i]);
        return n;
    }
    Status write_string(const std::string& name, const std::string& value) override {
        if (Status s = writable(); !s) return s;
        set_value(*key_, name, ValueType::string, value);
        return Status::success();
    }
    Status write_dword(const std::string& name, std::uint32_t value) override {
        if (Status s = writable(); !s) return s;
        std::string data(4, '\0');
        for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        set_value(*key_, name, ValueType::dword, data);
        return Status::success();
    }
    std::vector<ListedName> every_subkey_name() override {
        std::vector<ListedName> names;
        for (auto& name : subkey_names()) names.push_back({std::move(name), false});
        return names;
    }
    std::vector<ListedName> every_value_name() override {
        std::vector<ListedName> names;
        for (auto& name : value_names()) names.push_back({std::move(name), false});
        return names;
    }
    std::optional<RawValue> read_raw(const std::string& name) override {
        if (key_->deleted) return std::nullopt;
        const Value* v = find_value(*key_, name);
        if (!v) return std::nullopt;
        switch (v->type) {
        case ValueType::string:
        case ValueType::expand_string: return text_value(v->type, v->data);
        case ValueType::multi_string: {
            RawValue raw{v->type, {}};
            for (char16_t c : cp1251_to_utf16(v->data)) {
                raw.bytes += static_cast<char>(c & 0xFF);
                raw.bytes += static_cast<char>(c >> 8);
            }
            return raw;
        }
        default: return RawValue{v->type, v->data};
        }
    }
    Status write_raw(const std::string& name, const RawValue& raw) override {
        if (Status s = writable(); !s) return s;
        std::string data = raw.bytes;
        if (raw.type == ValueType::string || raw.type == ValueType::expand_string ||
            raw.type == ValueType::multi_string) {
            auto text = utf16le_text(raw.bytes);
            if (!text) return Status::failure("Текст содержит символы вне кодировки cp1251.");
            data = *text;
            if (raw.type != ValueType::multi_string)
                if (const auto nul = data.find('\0'); nul != std::string::npos) data.resize(nul);
        }
        set_value(*key_, name, raw.type, std::move(data));
        return Status::success();
    }
    Status delete_value(const std::string& name) override {
        if (Status s = writable(); !s) return s;
        const std::string wanted = upper(name);
        auto& values = key_->values;
        const auto it = std::find_if(values.begin(), values.end(), [&](const Value& v) { return upper(v.name) == wanted; });
        if (it == values.end()) return failure(Error::file_not_found);
        values.erase(it);
        return Status::success();
    }

private:
    Status writable() const {
        if (key_->deleted) return key_deleted();
        if (access_ != KeyAccess::write) return failure(Error::access_denied);
        return Status::success();
    }
    std::shared_ptr<Key> key_;
    KeyAccess access_;
};

// ---- .reg text

std::string hex_list(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(bytes[i]));
        if (i) out += ',';
        out += buf;
    }
    return out;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

void export_key(const Key& key, const std::string& full_name, std::string& out) {
    out += "[" + full_name + "]\r\n";
    for (const auto& v : key.values) {
        out += v.name.empty() ? "@" : quoted(v.name);
        out += '=';
        switch (v.type) {
            case ValueType::string: out += quoted(v.data); break;
            case ValueType::dword: {
                std::uint32_t n = 0;
                for (int i = std::min<int>(3, static_cast<int>(v.data.size()) - 1); i >= 0; --i)
                    n = (n << 8) | static_cast<unsigned char>(v.data[i]);
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x", n);
                out += buf;
                break;
            }
            case ValueType::binary: out += "hex:" + hex_list(v.data); break;
            case ValueType::expand_string: out += "hex(2):" + hex_list(v.data + '\0'); break;
            default: {
                char buf[16];
                std::snprintf(buf, sizeof buf, "hex(%x):", static_cast<unsigned>(v.type));
                out += buf + hex_list(v.data);
            }
        }
        out += "\r\n";
    }
    out += "\r\n";
    for (const auto& [folded, sub] : key.subkeys) export_key(*sub, full_name + "\\" + sub->name, out);
}

// A UTF-16LE text (after its BOM) as cp1251; nothing when a character has no form.
std::optional<std::string> utf16le_to_cp1251(const std::string& bytes, std::size_t from) {
    return utf16le_text(bytes.substr(from));
}

std::optional<std::string> parse_hex_bytes(const std::string& text) {
    std::string out;
    std::string digits;
    const auto flush = [&]() -> bool {
        if (digits.empty()) return true;
        if (digits.size() > 2) return false;
        out += static_cast<char>(std::stoi(digits, nullptr, 16));
        digits.clear();
        return true;
    };
    for (char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
        else if (c == ',') {
            if (!flush()) return std::nullopt;
        } else if (c != ' ' && c != '\t') {
            return std::nullopt;
        }
    }
    if (!flush()) return std::nullopt;
    return out;
}

// A quoted string at `at` (after its opening quote); `at` ends after the closing quote.
std::optional<std::string> parse_quoted(const std::string& line, std::size_t& at) {
    std::string out;
    for (; at < line.size(); ++at) {
        if (line[at] == '\\' && at + 1 < line.size()) {
            out += line[++at];
        } else if (line[at] == '"') {
            ++at;
            return out;
        } else {
            out += line[at];
        }
    }
    return std::nullopt;
}

Status bad_reg_text(const std::string& line) {
    return Status::failure("Неверная строка файла реестра: " + line);
}

}  // namespace

PosixRegistry::PosixRegistry() {
    for (auto& r : roots_) r = std::make_shared<Key>();
}

PosixRegistry::~PosixRegistry() = default;

std::shared_ptr<PosixRegistry::Key> PosixRegistry::find(Root root, const std::string& path) const {
    std::shared_ptr<Key> key = roots_[static_cast<int>(root)];
    for (const auto& part : split_key_path(path)) {
        const auto it = key->subkeys.find(upper(part));
        if (it == key->subkeys.end()) return nullptr;
        key = it->second;
    }
    return key;
}

namespace {

// Where a key of a view is stored: the 32-bit view of HKLM\Software and of
// HKCR is their "WOW6432Node" subkey; every other key is shared.
std::string stored_path(Root root, const std::string& path, View view) {
    if (view != View::bit32 || root == Root::current_user) return path;
    auto parts = split_key_path(path);
    const std::size_t at = root == Root::classes_root ? 0 : 1;
    if (root == Root::local_machine && (parts.empty() || upper(parts[0]) != "SOFTWARE")) return path;
    if (parts.size() > at && upper(parts[at]) == "WOW6432NODE") return path;
    parts.insert(parts.begin() + static_cast<std::ptrdiff_t>(std::min(at, parts.size())), "WOW6432Node");
    std::string joined;
    for (const auto& part : parts) joined += (joined.empty() ? "" : "\\") + part;
    return joined;
}

}  // namespace

Result<std::unique_ptr<RegistryKey>> PosixRegistry::open(Root root, const std::string& path, KeyAccess access) {
    return open(root, path, access, View::native);
}

bool PosixRegistry::key_exists(Root root, const std::string& path) { return key_exists(root, path, View::native); }

Status PosixRegistry::delete_tree(Root root, const std::string& path) { return delete_tree(root, path, View::native); }

Result<std::unique_ptr<RegistryKey>> PosixRegistry::open(Root root, const std::string& path, KeyAccess access,
                                                         View view) {
    auto key = find(root, stored_path(root, path, view));
    if (!key) return failure(Error::file_not_found);
    return std::unique_ptr<RegistryKey>(std::make_unique<PosixKey>(std::move(key), access));
}

Result<std::unique_ptr<RegistryKey>> PosixRegistry::create(Root root, const std::string& path) {
    std::shared_ptr<Key> key = roots_[static_cast<int>(root)];
    for (const auto& part : split_key_path(path)) {
        auto& slot = key->subkeys[upper(part)];
        if (!slot) {
            slot = std::make_shared<Key>();
            slot->name = part;
        }
        key = slot;
    }
    return std::unique_ptr<RegistryKey>(std::make_unique<PosixKey>(std::move(key), KeyAccess::write));
}

bool PosixRegistry::same_name(const std::string& a, const std::string& b) { return upper(a) == upper(b); }

bool PosixRegistry::key_exists(Root root, const std::string& path, View view) {
    return find(root, stored_path(root, path, view)) != nullptr;
}

Status PosixRegistry::delete_tree(Root root, const std::string& path, View view) {
    auto parts = split_key_path(stored_path(root, path, view));
    if (parts.empty()) return failure(Error::access_denied);  // never a root
    const std::string last = upper(parts.back());
    parts.pop_back();
    std::string parent_path;
    for (const auto& p : parts) parent_path += p + "\\";
    auto parent = find(root, parent_path);
    if (!parent) return failure(Error::file_not_found);
    const auto it = parent->subkeys.find(last);
    if (it == parent->subkeys.end()) return failure(Error::file_not_found);
    mark_deleted(*it->second);
    parent->subkeys.erase(it);
    return Status::success();
}

bool PosixRegistry::parse_key_name(const std::string& full, Root& root, std::string& path) {
    const std::size_t slash = full.find('\\');
    const std::string head = upper(full.substr(0, slash));
    if (head == "HKEY_CLASSES_ROOT" || head == "HKCR") root = Root::classes_root;
    else if (head == "HKEY_CURRENT_USER" || head == "HKCU") root = Root::current_user;
    else if (head == "HKEY_LOCAL_MACHINE" || head == "HKLM") root = Root::local_machine;
    else return false;
    path = slash == std::string::npos ? "" : full.substr(slash + 1);
    return true;
}

Result<std::string> PosixRegistry::export_reg(Root root, const std::string& path) {
    const auto key = find(root, path);
    if (!key) return failure(Error::file_not_found);
    // The key's name as stored, with its stored case.
    std::string full = root_name(root);
    std::shared_ptr<Key> at = roots_[static_cast<int>(root)];
    for (const auto& part : split_key_path(path)) {
        at = at->subkeys.at(upper(part));
        full += "\\" + at->name;
    }
    std::string out = "REGEDIT4\r\n\r\n";
    export_key(*key, full, out);
    return out;
}

Status PosixRegistry::import_reg(const std::string& raw) {
    std::string text = raw;
    bool unicode = false;
    if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF && static_cast<unsigned char>(raw[1]) == 0xFE) {
        auto converted = utf16le_to_cp1251(raw, 2);
        if (!converted) return Status::failure("Файл реестра содержит символы вне кодировки cp1251.");
        text = *converted;
    }
    // Lines, with "\" continuations joined.
    std::vector<std::string> lines;
    std::string current;
    bool continued = false;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (continued) {
            const std::size_t first = line.find_first_not_of(" \t");
            line = first == std::string::npos ? "" : line.substr(first);
        }
        const bool continues_this = !line.empty() && line.back() == '\\' &&
                                    (current + line).find("=hex") != std::string::npos;
        if (continues_this) {
            line.pop_back();
            current += line;
            continued = true;
            continue;
        }
        current += line;
        lines.push_back(current);
        current.clear();
        continued = false;
    }

    std::size_t i = 0;
    while (i < lines.size() && lines[i].find_first_not_of(" \t") == std::string::npos) ++i;
    if (i == lines.size()) return Status::failure("Пустой файл реестра.");
    if (lines[i] == "Windows Registry Editor Version 5.00") unicode = true;
    else if (lines[i] != "REGEDIT4") return bad_reg_text(lines[i]);

    std::shared_ptr<Key> key;
    for (++i; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const std::size_t close = line.rfind(']');
            if (close == std::string::npos) return bad_reg_text(line);
            const bool remove = line.size() > 1 && line[1] == '-';
            Root root;
            std::string path;
            if (!parse_key_name(line.substr(remove ? 2 : 1, close - (remove ? 2 : 1)), root, path))
                return bad_reg_text(line);
            key.reset();
            if (remove) {
                static_cast<void>(delete_tree(root, path));  // a .reg removal of a missing key is no error
            } else {
                auto made = create(root, path);
                if (!made) return made.status();
                key = find(root, path);
            }
            continue;
        }
        if (!key) return bad_reg_text(line);
        std::size_t at = 0;
        std::string name;
        if (line[0] == '@') {
            at = 1;
        } else if (line[0] == '"') {
            at = 1;
            auto parsed = parse_quoted(line, at);
            if (!parsed) return bad_reg_text(line);
            name = *parsed;
        } else {
            return bad_reg_text(line);
        }
        if (at >= line.size() || line[at] != '=') return bad_reg_text(line);
        const std::string data = line.substr(at + 1);
        if (data == "-") {
            const std::string wanted = upper(name);
            auto& values = key->values;
            values.erase(std::remove_if(values.begin(), values.end(), [&](const Value& v) { return upper(v.name) == wanted; }),
                         values.end());
        } else if (!data.empty() && data[0] == '"') {
            std::size_t q = 1;
            auto parsed = parse_quoted(data, q);
            if (!parsed) return bad_reg_text(line);
            set_value(*key, name, ValueType::string, *parsed);
        } else if (data.rfind("dword:", 0) == 0) {
            const std::string digits = data.substr(6);
            if (digits.empty() || digits.size() > 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                return bad_reg_text(line);
            const auto n = static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
            std::string bytes(4, '\0');
            for (int b = 0; b < 4; ++b) bytes[b] = static_cast<char>((n >> (8 * b)) & 0xFF);
            set_value(*key, name, ValueType::dword, bytes);
        } else if (data.rfind("hex", 0) == 0) {
            std::uint32_t type = 3;
            std::size_t colon = data.find(':');
            if (colon == std::string::npos) return bad_reg_text(line);
            if (data[3] == '(') {
                const std::size_t close = data.find(')');
                if (close == std::string::npos || close > colon) return bad_reg_text(line);
                type = static_cast<std::uint32_t>(std::stoul(data.substr(4, close - 4), nullptr, 16));
            }
            auto bytes = parse_hex_bytes(data.substr(colon + 1));
            if (!bytes) return bad_reg_text(line);
            std::string stored = *bytes;
            if (type == 1 || type == 2 || type == 7) {
                // Strings: ANSI in REGEDIT4, UTF-16 in version 5; a single
                // string without its terminator.
                if (unicode) {
                    auto converted = utf16le_to_cp1251(stored, 0);
                    if (!converted) return bad_reg_text(line);
                    stored = *converted;
                }
                const std::size_t nul = stored.find('\0');
                if (type != 7 && nul != std::string::npos) stored.resize(nul);
            }
            set_value(*key, name, static_cast<ValueType>(type), stored);
        } else {
            return bad_reg_text(line);
        }
    }
    return Status::success();
}

}  // namespace platform::posix
