#include "registry/reference_removal.h"

#include "platform/paths.h"

namespace registry {

std::optional<search::UndoItem> undo_item(const std::string& key, const std::string& value) {
    platform::Root root;
    if (key.starts_with("HKCU\\"))
        root = platform::Root::current_user;
    else if (key.starts_with("HKLM\\"))
        root = platform::Root::local_machine;
    else
        return std::nullopt;
    if (key.size() == 5) return std::nullopt;
    return search::UndoItem{root, key.substr(5), value};
}

platform::Status clear_reference(platform::Registry& registry, const std::string& key, const std::string& value) {
    const std::string where = "Не удалось очистить параметр \"" + value + "\" ключа " + key + ": ";
    const auto item = undo_item(key, value);
    if (!item) return platform::Status::failure(where + "неизвестный раздел реестра.");

    auto open = registry.open(item->root, item->key, platform::KeyAccess::write);
    if (!open) return platform::Status::failure(where + open.message());
    if (!(*open)->value_type(value)) return platform::Status::success();
    const auto written = (*open)->write_string(value, "");
    if (!written) return platform::Status::failure(where + written.message());
    return platform::Status::success();
}

std::string backup_date(const platform::LocalDateTime& now, const std::string& format) {
    std::string text;
    auto number = [&](int value, std::size_t digits) {
        std::string n = std::to_string(value);
        if (n.size() < digits) n.insert(0, digits - n.size(), '0');
        text += n;
    };
    for (std::size_t i = 0; i < format.size();) {
        const char c = format[i];
        std::size_t run = 1;
        while (i + run < format.size() && format[i + run] == c) ++run;
        if (c == '\'') {
            const std::size_t end = format.find('\'', i + 1);
            text += format.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
            i = end == std::string::npos ? format.size() : end + 1;
            continue;
        }
        if (c == 'd')
            number(now.day, run >= 2 ? 2 : 1);
        else if (c == 'M')
            number(now.month, run >= 2 ? 2 : 1);
        else if (c == 'y')
            run <= 2 ? number(now.year % 100, run) : number(now.year, 4);
        else if (c != 'g')  // the era is left out
            text.append(run, c);
        i += run;
    }
    for (char& c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '.';
    }
    return text;
}

std::vector<BackupFile> backup_files(const std::string& folder, KeySelection keys, const std::string& date) {
    const std::string base = folder.ends_with('\\') ? folder : folder + "\\";
    std::vector<BackupFile> files;
    if (keys.current_user) files.push_back({"HKEY_CURRENT_USER\\Software", base + "HKCU(" + date + ").reg"});
    if (keys.local_machine) files.push_back({"HKEY_LOCAL_MACHINE\\Software", base + "HKLM(" + date + ").reg"});
    return files;
}

platform::Status make_backup(platform::Platform& platform, const std::string& folder, KeySelection keys) {
    if (!platform::is_absolute_path(folder) || !platform.fs.is_existing_folder(folder))
        return platform::Status::failure("Папка " + folder + " не найдена.");
    const auto files = backup_files(folder, keys, backup_date(platform.system.now(), platform.system.short_date_format()));
    if (files.empty()) return platform::Status::failure("Не выбраны ключи реестра для сохранения.");
    for (const auto& [key, file] : files) {
        const auto exported = platform.shell.export_registry_key(key, file);
        if (!exported) return platform::Status::failure("Не удалось сохранить " + key + " в " + file + ": " + exported.message());
    }
    for (const auto& backup : files) {
        const auto written = platform.fs.entry(backup.file);
        if (!written || written->is_directory() || written->size == 0)
            return platform::Status::failure("Копия " + backup.key + " не записана в " + backup.file + ".");
    }
    return platform::Status::success();
}

}  // namespace registry
