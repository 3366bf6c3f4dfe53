#include "search/locations.h"

#include "platform/paths.h"

namespace search {

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The cleaned caches among the current user's Shell Folders: they may be
// cleaned, so they are not kept.
const char* const kCleanedShellFolders[] = {"Cache", "History", "Cookies", "Recent"};

// Whether `inner` is `outer` or lies below it; both folded full forms.
bool is_or_below(const std::string& inner, const std::string& outer) {
    if (inner.size() < outer.size() || inner.compare(0, outer.size(), outer) != 0) return false;
    return inner.size() == outer.size() || inner[outer.size()] == '\\' || outer.back() == '\\';
}

// The place as the user would recognise it: the base and the parts as given.
std::string written(const std::string& base, const std::vector<std::string>& parts) {
    std::string out = base;
    for (const auto& part : parts) {
        if (!out.empty() && out.back() != '\\' && out.back() != '/') out += '\\';
        out += part;
    }
    return out;
}

BuiltLocation refuse(LocationKind kind, const std::string& place, const std::string& why) {
    if (kind == LocationKind::file) return BuiltLocation::refused("Файл «" + place + "» не удаляется: " + why + ".");
    return BuiltLocation::refused("Папка «" + place + "» не очищается: " + why + ".");
}

// The full form of a path and, when it exists, of where its links lead.
std::vector<std::string> folded_forms(platform::FileSystem& fs, const std::string& full) {
    std::vector<std::string> forms{platform::folded_path(full)};
    if (const auto target = fs.final_path(full))
        if (const auto full_target = platform::full_path(*target))
            if (platform::folded_path(*full_target) != forms.front()) forms.push_back(platform::folded_path(*full_target));
    return forms;
}

// "CON", "nul.txt", "COM1": names Windows takes for devices, not files.
bool is_device_name(const std::string& part) {
    const std::string stem = platform::folded(part.substr(0, part.find('.')));
    for (const char* device : {"con", "prn", "aux", "nul"})
        if (stem == device) return true;
    return stem.size() == 4 && (stem.rfind("com", 0) == 0 || stem.rfind("lpt", 0) == 0) && stem[3] >= '1' &&
           stem[3] <= '9';
}

}  // namespace

bool is_plain_name(const std::string& part) {
    if (part.empty() || part == "." || part == ".." || is_device_name(part)) return false;
    if (part.back() == '.' || part.back() == ' ') return false;  // Windows would drop them
    for (const char c : part) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20) return false;
        switch (c) {
            case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|': return false;
            default: break;
        }
    }
    return true;
}

KeptFolders::KeptFolders(platform::FileSystem& fs, const std::vector<Folder>& folders) {
    for (const auto& folder : folders) {
        const auto full = platform::full_path(folder.path);
        if (!full) continue;
        for (const auto& form : folded_forms(fs, *full)) entries_.push_back({form, {*full, folder.name}});
    }
}

std::optional<KeptFolders::Held> KeptFolders::held_by(platform::FileSystem& fs, const std::string& full_path) const {
    for (const auto& place : folded_forms(fs, full_path))
        for (const auto& kept : entries_)
            if (is_or_below(kept.folded, place)) return Held{kept.folder, kept.folded == place};
    return std::nullopt;
}

KeptFolders machine_kept_folders(platform::Platform& platform) {
    std::vector<KeptFolders::Folder> folders;
    std::string windows;
    for (const auto& [name, value] : platform.system.environment()) {
        if (name == "USERPROFILE") folders.push_back({value, "профиль пользователя"});
        else if (name == "SystemRoot" || name == "windir") {
            folders.push_back({value, "папка Windows"});
            windows = value;
        } else if (name == "ProgramFiles" || name == "ProgramFiles(x86)" || name == "ProgramW6432" ||
                   name == "CommonProgramFiles" || name == "CommonProgramFiles(x86)")
            folders.push_back({value, "папка программ"});
        else if (name == "ALLUSERSPROFILE" || name == "PUBLIC")
            folders.push_back({value, "общий профиль пользователей"});
        else if (name == "APPDATA" || name == "LOCALAPPDATA")
            folders.push_back({value, "папка данных программ"});
    }
    if (!windows.empty()) {
        folders.push_back({windows + "\\System32", "системная папка"});
        folders.push_back({windows + "\\SysWOW64", "системная папка"});
    }
    const auto add_values = [&](platform::Root root, const std::string& key, bool skip_cleaned) {
        auto opened = platform.registry.open(root, key, platform::KeyAccess::read);
        if (!opened) return;
        for (const auto& name : (*opened)->value_names()) {
            bool cleaned = false;
            for (const char* cache : kCleanedShellFolders)
                cleaned = cleaned || platform::folded(name) == platform::folded(cache);
            if (skip_cleaned && cleaned) continue;
            if (const auto value = (*opened)->read_string(name)) folders.push_back({*value, "папка «" + name + "»"});
        }
    };
    add_values(platform::Root::current_user, kShellFolders, true);
    add_values(platform::Root::local_machine, kShellFolders, false);
    auto current = platform.registry.open(platform::Root::local_machine, "Software\\Microsoft\\Windows\\CurrentVersion",
                                          platform::KeyAccess::read);
    if (current)
        for (const char* name : {"ProgramFilesDir", "ProgramFilesDir (x86)", "CommonFilesDir"})
            if (const auto value = (*current)->read_string(name)) folders.push_back({*value, "папка программ"});
    return KeptFolders(platform.fs, folders);
}

bool Location::holds(const std::string& path) const {
    if (kind_ != LocationKind::folder) return false;
    const auto full = platform::full_path(path);
    if (!full) return false;
    const std::string inner = platform::folded_path(*full);
    const std::string outer = platform::folded_path(path_);
    return inner.size() > outer.size() && is_or_below(inner, outer);
}

BuiltLocation BuiltLocation::made(LocationKind kind, std::string path) {
    BuiltLocation built{std::string()};
    built.location_.emplace(Location(kind, std::move(path)));
    return built;
}

BuiltLocation build_location(platform::FileSystem& fs, const std::string& base, const std::vector<std::string>& parts,
                             LocationKind kind, const KeptFolders& kept) {
    const std::string place = written(base, parts);
    if (base.empty()) return BuiltLocation::absent();
    for (const auto& part : parts)
        if (!is_plain_name(part)) return refuse(kind, place, "«" + part + "» не имя папки или файла");
    if (kind == LocationKind::file && parts.empty()) return BuiltLocation::absent();

    const auto full_base = platform::full_path(base);
    if (!full_base) return refuse(kind, place, "путь «" + base + "» не полный");
    if (is_drive_root(*full_base)) return refuse(kind, place, "«" + base + "» - корень диска");
    if (!fs.is_existing_folder(*full_base)) return BuiltLocation::absent();
    const auto base_folder = CleanableFolder::check(fs, *full_base);
    if (!base_folder) return refuse(kind, place, "«" + base + "» ведет в корень диска");

    // The parts, each an existing folder on the way that is no link.
    std::string path = base_folder->path();
    for (std::size_t index = 0; index < parts.size(); ++index) {
        path += '\\' + parts[index];
        const auto attributes = fs.attributes(path);
        if (!attributes) {
            if (kind == LocationKind::file && index + 1 == parts.size()) break;
            return BuiltLocation::absent();
        }
        if (*attributes & platform::attr::reparse_point) return refuse(kind, place, "«" + parts[index] + "» - ссылка");
        const bool last = index + 1 == parts.size();
        const bool folder = *attributes & platform::attr::directory;
        if (!last && !folder) return BuiltLocation::absent();
        if (last && kind == LocationKind::file && folder) return BuiltLocation::absent();
        if (last && kind == LocationKind::folder && !folder) return BuiltLocation::absent();
    }

    if (kind == LocationKind::file) {
        const std::string parent = path.substr(0, path.rfind('\\'));
        if (!CleanableFolder::check(fs, parent)) return BuiltLocation::absent();
        return BuiltLocation::made(kind, path);
    }
    const auto folder = CleanableFolder::check(fs, path);
    if (!folder) return refuse(kind, place, "она ведет в корень диска");
    if (const auto held = kept.held_by(fs, folder->path())) {
        const std::string named = held->folder.name + " (" + held->folder.path + ")";
        return refuse(kind, place, held->same ? "это " + named : "в ней лежит " + named);
    }
    return BuiltLocation::made(kind, folder->path());
}

}  // namespace search
