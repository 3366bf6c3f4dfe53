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
    auto& fs = platform_.fs;
    auto folders = search::ListSubfoldersInTree(fs, pump_, *temp, true);
    search::SortByLengthDescending(folders);
    for (const auto& file : search::ListFilesInTree(fs, pump_, *temp, true, false)) {
        pump_.serve();
        if (fs.delete_file(file)) continue;
        // A file in use stays where it is: the figures measured after the
        // cleaning show what is left, so a failure here is no failure of
        // the cleaning.
        static_cast<void>(fs.set_attributes(file, 0));
        static_cast<void>(fs.delete_file(file));
    }
    for (const auto& sub : folders) {
        pump_.serve();
        static_cast<void>(fs.remove_folder(sub));  // a folder still holding a file stays
    }
}

platform::Status TempFolders::empty_bin() { return platform_.shell.empty_recycle_bin(); }

}  // namespace junk
