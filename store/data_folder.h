#pragma once
// The Data folder beside the executable and its list files: plain cp1251 text,
// one entry per line, read and written whole; nothing is kept open.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace store {

// A file that cannot be read or written. It ends the user action that caused
// it; the window layer shows its message.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The lines of a list file's text: CR LF, LF and CR alone all end a line; a
// last line without an end is a line; empty lines are entries.
std::vector<std::string> split_lines(std::string_view text);

class DataFolder {
public:
    // `program_folder` is the folder holding the executable, ending with a
    // backslash (see folder_of).
    DataFolder(platform::FileSystem& fs, std::string program_folder);

    // The executable's folder: its full path cut after the last backslash.
    static std::string folder_of(const std::string& executable_path);

    const std::string& program_folder() const { return program_folder_; }
    // program folder + "Data\" + name
    std::string path(std::string_view name) const;

    bool exists(std::string_view name) const;
    // A missing file is an empty list.
    std::vector<std::string> read_lines(std::string_view name) const;
    // The first line, "" for a missing or empty file.
    std::string read_first_line(std::string_view name) const;
    // Creates or empties the file and writes every line followed by CR LF.
    void rewrite(std::string_view name, const std::vector<std::string>& lines) const;
    // Appends one line (with CR LF) to an existing file, on a line of its own
    // even when the file's last line has no line break.
    void append_line(std::string_view name, std::string_view line) const;
    // Removes the file; a missing file is no error.
    void remove(std::string_view name) const;

    // Marker files: present means on.
    bool marker(std::string_view name) const { return exists(name); }
    void set_marker(std::string_view name, bool on) const;

    platform::FileSystem& fs() const { return fs_; }

private:
    platform::FileSystem& fs_;
    std::string program_folder_;
};

// Positional flags: line i belongs to row i; "1" checks it, anything else
// leaves it unchecked; lines beyond the rows are ignored.
std::vector<bool> flags_for_rows(const std::vector<std::string>& lines, std::size_t rows);
std::vector<std::string> flag_lines(const std::vector<bool>& checks);

// An entry of a "#"-prefixed list: "#" in the first position marks an entry
// kept but disabled.
struct PrefixedEntry {
    std::string text;
    bool enabled = true;

    static PrefixedEntry parse(const std::string& line);
    std::string line() const { return enabled ? text : "#" + text; }
};

}  // namespace store
