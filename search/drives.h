#pragma once
// The usable drive list and the per-tool drive selections.
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace search {

// The drives the searches may use, built once at start-up: the platform's
// logical drives in letter order, a leading floppy "a" skipped, removable,
// fixed and remote drives kept, each shown in upper form ("C:\").
std::vector<std::string> usable_drives(const std::vector<platform::LogicalDrive>& drives);

// One tool's choice of drives: the usable drive list with a check per row.
// Its flag file keeps the checks by position.
class DriveSelection {
public:
    // Rows are the usable drives, all unchecked, then checked from the flag
    // file's lines ("1" checks the row at that position).
    void refill(const std::vector<std::string>& drives, const std::vector<std::string>& flag_lines);

    const std::vector<std::string>& rows() const { return rows_; }
    bool checked(std::size_t row) const { return checks_.at(row); }
    void set_checked(std::size_t row, bool on) { checks_.at(row) = on; }
    // The drive letters of the checked rows, in row order.
    std::vector<char> checked_letters() const;
    // "1"/"0" per row, for the flag file.
    std::vector<std::string> flag_lines() const;

private:
    std::vector<std::string> rows_;
    std::vector<bool> checks_;
};

}  // namespace search
