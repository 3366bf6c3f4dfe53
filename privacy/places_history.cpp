#include "privacy/places_history.h"

#include <sqlite3.h>

#include <memory>
#include <optional>

namespace privacy {

namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

platform::Status failure(const search::Location& places, const std::string& why) {
    return platform::Status::failure("Журнал в «" + places.path() + "» не очищен: " + why + ".");
}

// SQLite's messages are English ASCII: they are cp1251 as they are.
std::string message_of(sqlite3* db) { return sqlite3_errmsg(db); }

// The first column of the first row of a query; nothing when it fails.
std::optional<std::string> first_text(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) return std::nullopt;
    const Statement statement(raw);
    if (sqlite3_step(raw) != SQLITE_ROW) return std::nullopt;
    const auto* text = sqlite3_column_text(raw, 0);
    return std::string(text ? reinterpret_cast<const char*>(text) : "");
}

bool has_table(sqlite3* db, const std::string& table) {
    const auto count = first_text(
        db, ("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '" + table + "'").c_str());
    return count && *count != "0";
}

}  // namespace

platform::Status clear_places_history(platform::FileSystem& fs, const search::Location& places) {
    const auto host = fs.host_path(places.path());
    if (!host) return failure(places, "файл не открывается");
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(host->c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    const Database db(raw);
    if (opened != SQLITE_OK) return failure(places, raw ? message_of(raw) : "файл не открывается");
    sqlite3_extended_result_codes(raw, 1);

    const auto integrity = first_text(raw, "PRAGMA integrity_check");
    if (!integrity) return failure(places, "файл поврежден (" + message_of(raw) + ")");
    if (*integrity != "ok") return failure(places, "файл поврежден (" + *integrity + ")");
    for (const char* table : {"moz_places", "moz_historyvisits", "moz_bookmarks"})
        if (!has_table(raw, table)) return failure(places, "в нем нет журнала Firefox");

    std::string sql =
        "PRAGMA secure_delete = ON;"
        "BEGIN IMMEDIATE;"
        "DELETE FROM moz_historyvisits;";
    if (has_table(raw, "moz_inputhistory")) sql += "DELETE FROM moz_inputhistory;";
    for (const char* table : {"moz_places_metadata", "moz_places_metadata_search_queries"})
        if (has_table(raw, table)) sql += std::string("DELETE FROM ") + table + ";";
    sql += "DELETE FROM moz_places WHERE id NOT IN (SELECT fk FROM moz_bookmarks WHERE fk IS NOT NULL)";
    if (has_table(raw, "moz_keywords")) sql += " AND id NOT IN (SELECT place_id FROM moz_keywords WHERE place_id IS NOT NULL)";
    sql += ";UPDATE moz_places SET visit_count = 0, last_visit_date = NULL;";
    if (has_table(raw, "moz_annos")) sql += "DELETE FROM moz_annos WHERE place_id NOT IN (SELECT id FROM moz_places);";
    // The sites of the pages that went, as Firefox forgets them too.
    if (has_table(raw, "moz_origins")) {
        sqlite3_stmt* probe = nullptr;
        const bool linked = sqlite3_prepare_v2(raw, "SELECT origin_id FROM moz_places", -1, &probe, nullptr) == SQLITE_OK;
        sqlite3_finalize(probe);
        if (linked)
            sql += "DELETE FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places WHERE origin_id IS NOT NULL);";
    }
    sql += "COMMIT;";

    char* error = nullptr;
    if (sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string why = error ? error : message_of(raw);
        sqlite3_free(error);
        sqlite3_exec(raw, "ROLLBACK", nullptr, nullptr, nullptr);
        return failure(places, why);
    }
    return platform::Status::success();
}

}  // namespace privacy
