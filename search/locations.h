#pragma once
// The one way a place to clean is made: a base folder (a Shell Folders
// value, the Opera folder, TEMP...) and the names joined to it, judged as a
// whole. Every browser store, the Recent folder and the temporary folder are
// built here; nothing that cleans joins paths by itself.
//
// build_location(fs, base, parts, kind, kept) makes a location only when
//  - every part is one name: not empty, not "." or "..", no "\", "/" or ":",
//    no wildcard or control character, no trailing dot or blank, no device
//    name ("CON", "nul.txt"); a profile name "../../x" or "a\b" makes nothing;
//  - the base passes the guard of every cleaned folder: absolute, existing,
//    neither a drive root nor a link to one ("C:\Opera\" is fine: joins never
//    make a doubled separator);
//  - no part below the base is a link (a junction or symbolic link);
//  - a folder location is an existing folder that passes the same guard; a
//    file location's file need not exist, but it is no folder;
//  - a folder location neither is nor holds any of the `kept` folders, as
//    written or where its links lead.
// The location's full form is then what the cleaning uses, and every file it
// deletes must lie strictly inside it (Location::holds).
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "search/guards.h"

namespace search {

// Folders a cleaned location may neither be nor hold, each with the words
// that name it to the user.
class KeptFolders {
public:
    struct Folder {
        std::string path;  // the full form
        std::string name;  // "папка «Personal»"
    };

    KeptFolders() = default;
    // Folders given by an empty or relative path are left out; a folder
    // that is a link is kept where it leads as well.
    KeptFolders(platform::FileSystem& fs, const std::vector<Folder>& folders);

    struct Held {
        Folder folder;
        bool same = false;  // the place is the kept folder itself
    };
    // The first kept folder that a full path (or where its links lead) is
    // or holds; nothing when it neither is nor holds any.
    std::optional<Held> held_by(platform::FileSystem& fs, const std::string& full_path) const;

private:
    struct Entry {
        std::string folded;  // of the full form or of where it leads
        Folder folder;
    };
    std::vector<Entry> entries_;
};

// The folders of this machine that hold what the user keeps: the profile
// folder, the Windows and system folders, the Program Files folders and
// every Shell Folders location of the current user and of all users, except
// the caches that are cleaned themselves (Cache, History, Cookies, Recent).
KeptFolders machine_kept_folders(platform::Platform& platform);

enum class LocationKind { folder, file };

// A checked place. Only build_location makes one.
class Location {
public:
    LocationKind kind() const { return kind_; }
    // The full form: what the cleaning uses.
    const std::string& path() const { return path_; }
    // Whether a path lies strictly inside this location (compared on full
    // forms, folded); a file location holds nothing.
    bool holds(const std::string& path) const;

private:
    friend class BuiltLocation;
    Location(LocationKind kind, std::string path) : kind_(kind), path_(std::move(path)) {}
    LocationKind kind_;
    std::string path_;
};

// A location, or why there is none.
class BuiltLocation {
public:
    // A place that simply is not there (an empty value, a missing folder):
    // it holds nothing and no one is told.
    static BuiltLocation absent() { return BuiltLocation(std::string()); }
    // A place that must not be cleaned; `why` names it and the reason.
    static BuiltLocation refused(std::string why) { return BuiltLocation(std::move(why)); }

    explicit operator bool() const { return location_.has_value(); }
    const Location& operator*() const { return *location_; }
    const Location* operator->() const { return &*location_; }
    // "" for a location and for an absent place; otherwise a sentence for
    // the user that names the place and why it is not cleaned.
    const std::string& refusal() const { return refusal_; }

private:
    friend BuiltLocation build_location(platform::FileSystem&, const std::string&, const std::vector<std::string>&,
                                        LocationKind, const KeptFolders&);
    static BuiltLocation made(LocationKind kind, std::string path);
    explicit BuiltLocation(std::string refusal) : refusal_(std::move(refusal)) {}
    std::optional<Location> location_;
    std::string refusal_;
};

BuiltLocation build_location(platform::FileSystem& fs, const std::string& base, const std::vector<std::string>& parts,
                             LocationKind kind = LocationKind::folder, const KeptFolders& kept = {});

// Whether `part` may be joined to a location: one plain name.
bool is_plain_name(const std::string& part);

}  // namespace search
