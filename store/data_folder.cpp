#include "store/data_folder.h"

namespace store {

std::vector<std::string> split_lines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

DataFolder::DataFolder(platform::FileSystem& fs, std::string program_folder)
    : fs_(fs), program_folder_(std::move(program_folder)) {
    if (!program_folder_.empty() && program_folder_.back() != '\\') program_folder_ += '\\';
}

std::string DataFolder::folder_of(const std::string& executable_path) {
    const std::size_t slash = executable_path.rfind('\\');
    return slash == std::string::npos ? std::string() : executable_path.substr(0, slash + 1);
}

std::string DataFolder::path(std::string_view name) const {
    std::string p = program_folder_;
    p += "Data\\";
    p += name;
    return p;
}

bool DataFolder::exists(std::string_view name) const {
    return fs_.is_existing_file(path(name));
}

std::vector<std::string> DataFolder::read_lines(std::string_view name) const {
    const std::string file = path(name);
    if (!fs_.is_existing_file(file)) return {};
    const auto text = platform::read_whole_file(fs_, file);
    if (!text) throw FileError("Ошибка чтения файла " + file + ": " + text.message());
    return split_lines(*text);
}

std::string DataFolder::read_first_line(std::string_view name) const {
    const auto lines = read_lines(name);
    return lines.empty() ? std::string() : lines.front();
}

void DataFolder::rewrite(std::string_view name, const std::vector<std::string>& lines) const {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    const std::string file = path(name);
    const auto written = platform::write_whole_file(fs_, file, text);
    if (!written) throw FileError("Ошибка записи файла " + file + ": " + written.message());
}

void DataFolder::append_line(std::string_view name, std::string_view line) const {
    const std::string file = path(name);
    // A file edited by hand may end without a line break: the new line
    // starts on a line of its own.
    const auto before = platform::read_whole_file(fs_, file);
    if (!before) throw FileError("Ошибка записи файла " + file + ": " + before.message());
    auto out = fs_.open_for_append(file);
    if (!out) throw FileError("Ошибка записи файла " + file + ": " + out.message());
    std::string text;
    if (!before->empty() && before->back() != '\n' && before->back() != '\r') text = "\r\n";
    text += line;
    text += "\r\n";
    const auto written = (*out)->write(text.data(), text.size());
    if (!written) throw FileError("Ошибка записи файла " + file + ": " + written.message());
}

void DataFolder::remove(std::string_view name) const {
    const std::string file = path(name);
    if (!fs_.is_existing_file(file)) return;
    const auto removed = fs_.delete_file(file);
    if (!removed) throw FileError("Ошибка удаления файла " + file + ": " + removed.message());
}

void DataFolder::set_marker(std::string_view name, bool on) const {
    if (on) {
        rewrite(name, {});  // empty, whatever it held
    } else {
        remove(name);
    }
}

std::vector<bool> flags_for_rows(const std::vector<std::string>& lines, std::size_t rows) {
    std::vector<bool> checks(rows, false);
    for (std::size_t i = 0; i < lines.size() && i < rows; ++i) checks[i] = lines[i] == "1";
    return checks;
}

std::vector<std::string> flag_lines(const std::vector<bool>& checks) {
    std::vector<std::string> lines;
    lines.reserve(checks.size());
    for (bool on : checks) lines.emplace_back(on ? "1" : "0");
    return lines;
}

PrefixedEntry PrefixedEntry::parse(const std::string& line) {
    if (!line.empty() && line.front() == '#') return {line.substr(1), false};
    return {line, true};
}

}  // namespace store
