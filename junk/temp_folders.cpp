#include "junk/temp_folders.h"

#include "search/folders.h"

namespace junk {

std::optional<std::string> TempFolders::folder() {
    return search::TempFolderPath(platform_.system, platform_.fs);
}

TempFigures TempFolders::measure_temp() {
    const auto temp = folder();
    if (!temp) return {};
    TempFigures figures;
    figures.files = search::ListFilesInTree(platform_.fs, pump_, *temp, false, false).size();
    figures.bytes = search::FolderSize(platform_.fs, pump_, *temp);
    return figures;
}

platform::Result<platform::RecycleBinInfo> TempFolders::measure_bin() {
    return platform_.shell.query_recycle_bin();
}

void TempFolders::clean_temp() {
    const auto temp = folder();
    if (!temp) return;
    if (const auto cleanable = search::CleanableFolder::check(platform_.fs, *temp))
        search::clean_tree(platform_.fs, pump_, *cleanable);
}

platform::Status TempFolders::empty_bin() { return platform_.shell.empty_recycle_bin(); }

}  // namespace junk
