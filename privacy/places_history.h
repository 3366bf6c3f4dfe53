#pragma once
// Firefox's history in its database "places.sqlite", cleared as Firefox's own
// "clear browsing history" does: every visit, the typed-input history, the
// pages' reading metadata and every page that no bookmark (nor a bookmark's
// keyword) refers to go, in one transaction; bookmarks, their pages, the
// favicons and every other table stay. Deleted rows are overwritten in the
// file (secure delete), so the history cannot be read back from it.
#include <string>

#include "platform/file_system.h"
#include "platform/status.h"
#include "search/locations.h"

namespace privacy {

// A database that SQLite does not find sound ("PRAGMA integrity_check"), or
// that lacks the tables of a Firefox history, is an error and nothing in it
// changes; so is a database another program holds locked.
platform::Status clear_places_history(platform::FileSystem& fs, const search::Location& places);

}  // namespace privacy
