#pragma once
// The window "Исключения": what one file search skips. Up to four lists,
// each kept in its own file: whole folders by full path, folders by name,
// files by full path and files by name. The searches that look at files
// (temporary files, duplicates) have all four on two pages; the others have
// the two folder lists only.
//
// The lists are read from their files at every opening; "  Применить"
// rewrites the files and closes the window.
#include <array>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "search/drives.h"
#include "store/data_folder.h"
#include "ui/ui.h"

namespace search {

struct ExclusionsVariant {
    const char* prefix;  // file prefix: <prefix>_dirs_ex.txt and its siblings
    bool file_lists;     // the page of excluded files
};

inline constexpr ExclusionsVariant kTempFilesExclusions{"tf", true};
inline constexpr ExclusionsVariant kBrokenLinksExclusions{"bl", false};
inline constexpr ExclusionsVariant kEmptyDirsExclusions{"ed", false};
inline constexpr ExclusionsVariant kDuplicatesExclusions{"cf", true};

enum class ExclusionList { full_folders, short_folders, full_files, short_files };

class ExclusionsWindow : public ui::Form {
public:
    // One list with its buttons in a group; the lists of names also have a
    // text field and a hint.
    struct Group {
        Group(ui::Container& page, const std::string& name, bool names);
        ui::GroupBox box;
        ui::Button add;
        ui::Button remove;
        ui::ListView list;
        std::unique_ptr<ui::Edit> name_field;
        std::unique_ptr<ui::Label> hint;
    };

    // `selection` is the main window's drive selection of this search: a
    // folder or file on one of its unchecked drives is refused.
    ExclusionsWindow(ui::Toolkit& toolkit, const ExclusionsVariant& variant, const store::DataFolder& data,
                     platform::FileSystem& fs, const DriveSelection& selection);
    ~ExclusionsWindow() override;

    const ExclusionsVariant& variant() const { return variant_; }
    bool has(ExclusionList which) const { return groups_[index(which)] != nullptr; }
    // The list's file; "" for a list this variant does not have.
    std::string file(ExclusionList which) const;
    // The parts of one list; the list must exist (has()).
    Group& group(ExclusionList which) { return *groups_[index(which)]; }
    ui::ListView& list(ExclusionList which) { return group(which).list; }

    // The two pages ("Исключенные папки", "Исключенные файлы") and their
    // switches; a variant without file lists has one page and no switches.
    ui::PageSet& pages() { return pages_; }
    ui::RadioButton& folders_switch() { return folders_switch_; }
    ui::RadioButton& files_switch() { return files_switch_; }
    void show_page(int page);

    ui::Button& apply_button() { return apply_button_; }

private:
    static std::size_t index(ExclusionList which) { return static_cast<std::size_t>(which); }
    void opened();
    void add_full_folder();
    void add_full_file();
    void add_name(ExclusionList which);
    void apply();
    // Whether the path lies on a drive that the search's selection leaves out.
    bool on_unchecked_drive(const std::string& path) const;

    const ExclusionsVariant variant_;
    const store::DataFolder& data_;
    platform::FileSystem& fs_;
    const DriveSelection& selection_;

    ui::RadioButton folders_switch_{*this, "FoldersPageSwitch"};
    ui::RadioButton files_switch_{*this, "FilesPageSwitch"};
    ui::PageSet pages_{*this, "PageControl1"};
    std::unique_ptr<ui::Page> folders_page_;
    std::unique_ptr<ui::Page> files_page_;
    std::array<std::unique_ptr<Group>, 4> groups_;
    ui::Button apply_button_{*this, "ApplyButton"};
};

}  // namespace search
