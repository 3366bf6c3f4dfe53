#include "junk/temp_folders.h"

#include "search/folders.h"

namespace junk {

search::BuiltLocation TempFolders::folder() {
    return search::TempFolderPath(platform_.system, platform_.fs, search::machine_kept_folders(platform_));
}

TempFigures TempFolders::measure_temp() {
    const auto temp = folder();
    TempFigures figures;
    figures.refusal = temp.refusal();
    if (!temp) return figures;
    figures.files = search::ListFilesInTree(platform_.fs, pump_, temp->path(), false, false).size();
    figures.bytes = search::FolderSize(platform_.fs, pump_, temp->path());
    return figures;
}

platform::Result<platform::RecycleBinInfo> TempFolders::measure_bin() {
    return platform_.shell.query_recycle_bin();
}

void TempFolders::clean_temp() {
    if (const auto temp = folder()) search::clean_tree(platform_.fs, pump_, *temp);
}

platform::Status TempFolders::empty_bin() { return platform_.shell.empty_recycle_bin(); }

}  // namespace junk
