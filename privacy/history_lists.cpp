#include "privacy/history_lists.h"

#include "privacy/browsers.h"
#include "search/folders.h"

namespace privacy {

namespace {

const char kFile[] = "rg_history.txt";

}  // namespace

const std::array<HistoryList, 9> kHistoryLists = {{
    {"Адресная строка Internet Explorer", "Software\\Microsoft\\Internet Explorer\\TypedURLs"},
    {"Диалоговое окно Выполнить", "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU"},
    {"Недавно открывавшиеся документы (Recent Documents)",
     "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs"},
    {"Общие диалоговые окна", "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32"},
    {"Помощник по поиску - Интернет", "Software\\Microsoft\\Search Assistant\\ACMru\\5001"},
    {"Помощник по поиску - Файлы и папки", "Software\\Microsoft\\Search Assistant\\ACMru\\5603"},
    {"Помощник по поиску - Изображения, музыка, видео", "Software\\Microsoft\\Search Assistant\\ACMru\\5604"},
    {"Помощник по поиску - Компьютеры и люди", "Software\\Microsoft\\Search Assistant\\ACMru\\55647"},
    {"Диалоговое окно открытия/сохранения файлов",
     "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU"},
}};

HistoryListSettings HistoryListSettings::load(const store::DataFolder& data) {
    return {store::flags_for_rows(data.read_lines(kFile), kHistoryLists.size())};
}

void HistoryListSettings::save(const store::DataFolder& data) const {
    std::vector<bool> checks = ticked;
    checks.resize(kHistoryLists.size());
    data.rewrite(kFile, store::flag_lines(checks));
}

search::BuiltLocation recent_folder(platform::Platform& platform) {
    return search::build_location(platform.fs, shell_folder(platform.registry, "Recent"), {},
                                  search::LocationKind::folder, search::machine_kept_folders(platform));
}

void delete_files_in(platform::FileSystem& fs, const search::Location& folder) {
    if (folder.kind() != search::LocationKind::folder) return;
    std::string base = folder.path();
    if (base.back() != '\\') base += '\\';
    std::vector<std::string> files;
    static_cast<void>(fs.enumerate(base, [&](const platform::DirEntry& entry) {
        if (!entry.is_directory()) files.push_back(base + entry.name);
        return true;
    }));  // a folder that cannot be listed has nothing to delete
    for (const auto& file : files) static_cast<void>(search::delete_file_inside(fs, folder, file));
}

std::string clear_history_lists(platform::Platform& platform, const std::vector<bool>& ticked) {
    std::string refusal;
    for (std::size_t index = 0; index < kHistoryLists.size() && index < ticked.size(); ++index) {
        if (!ticked[index]) continue;
        const char* key = kHistoryLists[index].key;
        if (platform.registry.key_exists(platform::Root::current_user, key))
            static_cast<void>(platform.registry.delete_tree(platform::Root::current_user, key));  // passed over
        if (index != kRecentDocuments) continue;
        const auto recent = recent_folder(platform);
        if (recent) delete_files_in(platform.fs, *recent);
        refusal = recent.refusal();
    }
    return refusal;
}

}  // namespace privacy
