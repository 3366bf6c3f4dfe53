#include "search/drives.h"

#include "search/folded.h"
#include "store/data_folder.h"

namespace search {

std::vector<std::string> usable_drives(const std::vector<platform::LogicalDrive>& drives) {
    std::vector<std::string> usable;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const auto& drive = drives[i];
        if (i == 0 && !drive.root.empty() && (drive.root[0] == 'a' || drive.root[0] == 'A')) continue;
        using platform::DriveType;
        if (drive.type == DriveType::removable || drive.type == DriveType::fixed || drive.type == DriveType::remote)
            usable.push_back(upper(drive.root));
    }
    return usable;
}

void DriveSelection::refill(const std::vector<std::string>& drives, const std::vector<std::string>& flag_lines) {
    rows_ = drives;
    checks_ = store::flags_for_rows(flag_lines, rows_.size());
}

std::vector<char> DriveSelection::checked_letters() const {
    std::vector<char> letters;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (checks_[i] && !rows_[i].empty()) letters.push_back(rows_[i][0]);
    return letters;
}

std::vector<std::string> DriveSelection::flag_lines() const { return store::flag_lines(checks_); }

}  // namespace search
