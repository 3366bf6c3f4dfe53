#include "duplicates/duplicate_search.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "search/area_walk.h"
#include "search/folded.h"

namespace duplicates {

namespace {

// The first block of every file that shares its size with another; a file no
// longer than it is told apart by it alone.
constexpr std::size_t kFirstBlock = 4096;
// The first blocks of one size held at once, however many files share it; a
// size with more files than fit is sorted by a hash of their first blocks.
constexpr std::size_t kFirstBlocksBudget = 64u << 20;
// Files compared in lockstep share about this much buffer space.
constexpr std::size_t kLockstepBuffers = 8u << 20;
// At most this many files are open at once (handles are not unlimited): more
// files that agree so far are sorted by a hash of their whole contents, each
// read once, and every group of equal hashes is then compared byte by byte.
constexpr std::size_t kMaxOpenAtOnce = 256;

constexpr int kNoClass = -1;

// A hash of file contents, fed block by block: it only sorts files that may
// be equal, the bytes decide.
std::uint64_t hash_bytes(std::uint64_t h, const char* data, std::size_t count) {
    for (; count >= 8; data += 8, count -= 8) {
        std::uint64_t word;
        std::memcpy(&word, data, 8);
        h = (h ^ word) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
    }
    for (; count > 0; ++data, --count) h = (h ^ static_cast<unsigned char>(*data)) * 0x100000001B3ull;
    return h;
}

struct IdentityHash {
    std::size_t operator()(const platform::FileIdentity& id) const {
        return std::hash<std::uint64_t>()(id.index * 0x9E3779B97F4A7C15ull ^ id.volume);
    }
};

// A file met by the search: a target collected by the area walk, a chosen
// file, or both.
struct Node {
    std::string path;
    std::uint64_t size = 0;
    bool target = false;
    bool chosen = false;
};

bool is_reserved_root_folder(const std::string& name) {
    return search::is_recycle_bin_folder(name) || name == "System Volume Information";
}

// The files of the area: the drive passes of the checked drives, then the
// walk folders (the drives' second-level folders, then the area folders).
void walk_area(const DuplicateSettings& settings, platform::FileSystem& fs, platform::Pump& pump,
               const platform::StopRequest& stop, search::WalkProgress& progress, std::vector<Node>& nodes) {
    search::WalkRules rules;
    rules.folder_passes = [&](const std::string& path, const platform::DirEntry& entry, bool in_drive_root) {
        if (in_drive_root && is_reserved_root_folder(entry.name)) return false;
        return !settings.exclusions.folder_excluded(path, entry.name);
    };
    // Passing files are recorded here, with their size, rather than collected
    // by the walk: 300,000 paths are held once, without their directory entries.
    // Whether a file opens exclusively is asked only when it shares its size
    // with another file: no other file can be its copy.
    rules.file_passes = [&](const std::string& path, const platform::DirEntry& entry) {
        if (settings.exclusions.file_excluded(path, entry.name)) return false;
        if (settings.filter_types && !type_passes(path, settings.types)) return false;
        nodes.push_back({path, entry.size, true, false});
        return false;
    };
    search::AreaWalk walk(fs, pump, stop, rules);

    std::vector<search::Found> none;
    walk.walk_area(settings.drives, settings.area_folders, none, progress);
}

// Sorts the files into classes of identical contents. Files of one size are
// told apart by their first block, and those that agree there by reading
// them in lockstep to their ends.
class Classifier {
public:
    Classifier(platform::FileSystem& fs, platform::Pump& pump, const platform::StopRequest& stop,
               const std::vector<Node>& nodes, std::vector<int>& classes)
        : fs_(fs), pump_(pump), stop_(stop), nodes_(nodes), classes_(classes), refused_(nodes.size(), false) {}

    // Classifies the distinct paths `members` (at least two) of one size.
    // Returns false when a stop request ended the work; the files not yet
    // classified then keep no class.
    bool classify(const std::vector<std::uint32_t>& members, std::uint64_t size) {
        Names names;
        const bool finished = classify_files(members, size, names);
        // A later name of a file takes the class of its first name.
        for (const auto& [node, first] : names.later) classes_[node] = classes_[first];
        for (const auto& [id, node] : names.first)
            if (classes_[node] != kNoClass) identities_.emplace(node, id);
        for (const auto& [node, first] : names.later)
            if (classes_[node] != kNoClass) identities_.emplace(node, identities_.at(first));
        return finished;
    }

    std::uint64_t bytes_read() const { return bytes_read_; }
    // A file of the walk that did not open exclusively: no target after all.
    bool refused(std::uint32_t node) const { return refused_[node]; }
    // The identity of a file that has a class.
    std::optional<platform::FileIdentity> identity(std::uint32_t node) const {
        const auto it = identities_.find(node);
        if (it == identities_.end()) return std::nullopt;
        return it->second;
    }

private:
    // The names met in one size: the first name of each file, and each later
    // name with the first name of its file.
    struct Names {
        std::unordered_map<platform::FileIdentity, std::uint32_t, IdentityHash> first;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> later;
    };

    // Files of one size are told apart by their first block, and those that
    // agree there by reading further. A file is known by its handle before
    // any byte of it is read: a second name of a file already met is not read.
    bool classify_files(const std::vector<std::uint32_t>& members, std::uint64_t size, Names& names) {
        const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(size, kFirstBlock));
        const std::size_t stride = length + 1;
        const bool held = members.size() * stride <= kFirstBlocksBudget;
        if (heads_.size() < (held ? members.size() : 1) * stride) heads_.resize((held ? members.size() : 1) * stride);
        std::vector<std::uint32_t> opened;
        std::vector<std::uint64_t> hashes;
        for (std::uint32_t node : members) {
            pump_.serve();
            if (stop_.requested()) return false;
            auto file = open_first(node);
            if (!file) continue;
            if (const auto id = file->identity()) {
                const auto [first, added] = names.first.try_emplace(*id, node);
                if (!added) {
                    names.later.emplace_back(node, first->second);
                    continue;
                }
            }
            char* head = heads_.data() + (held ? opened.size() * stride : 0);
            if (!first_block(*file, size, head)) continue;
            if (!held) hashes.push_back(hash_bytes(0, head, length));
            opened.push_back(node);
        }
        auto head = [&](std::size_t k) { return std::string_view(heads_.data() + k * stride, length); };
        auto same_start = [&](std::size_t a, std::size_t b) { return held ? head(a) == head(b) : hashes[a] == hashes[b]; };
        std::vector<std::uint32_t> order(opened.size());
        std::iota(order.begin(), order.end(), 0u);
        std::stable_sort(order.begin(), order.end(),
                         [&](auto a, auto b) { return held ? head(a) < head(b) : hashes[a] < hashes[b]; });
        for (std::size_t i = 0; i < order.size();) {
            std::size_t j = i + 1;
            while (j < order.size() && same_start(order[j], order[i])) ++j;
            if (j - i > 1) {
                std::vector<std::uint32_t> run;
                for (std::size_t k = i; k < j; ++k) run.push_back(opened[order[k]]);
                // Files no longer than a held block are equal already.
                if (held && size <= kFirstBlock) name_class(run);
                else if (!compare(run, size, false)) return false;
            }
            i = j;
        }
        return true;
    }

    // A file opened as the search needs it: a target only when nobody else
    // holds it and it may be written; a chosen file when it opens for
    // reading and writing at all.
    std::unique_ptr<platform::File> open_first(std::uint32_t node) {
        const Node& n = nodes_[node];
        auto file = fs_.open(n.path, platform::Access::read_write, n.target ? platform::Share::none
                                                                              : platform::Share::read_write);
        if (!file && n.target) {
            refused_[node] = true;
            if (n.chosen) file = fs_.open(n.path, platform::Access::read_write, platform::Share::read_write);
        }
        if (!file) return nullptr;
        return std::move(*file);
    }

    // The first block of a file; `head` has room for one byte more.
    bool first_block(platform::File& file, std::uint64_t size, char* head) {
        if (size > kFirstBlock) return file.size() == size && read_fully(file, head, kFirstBlock);
        // A small file is read whole by one read that asks for a byte more:
        // getting exactly its size shows its end, with no query of its size.
        // One that grew or shrank since it was listed is left out.
        auto got = file.read(head, static_cast<std::size_t>(size) + 1);
        if (got) bytes_read_ += *got;
        return got && *got == size;
    }

    bool read_fully(platform::File& file, char* buffer, std::size_t count) {
        while (count > 0) {
            auto got = file.read(buffer, count);
            if (!got || *got == 0) return false;
            bytes_read_ += *got;
            buffer += *got;
            count -= *got;
        }
        return true;
    }

    void name_class(const std::vector<std::uint32_t>& run) {
        for (std::uint32_t node : run) classes_[node] = next_class_;
        ++next_class_;
    }

    std::unique_ptr<platform::File> open_shared(std::uint32_t node, std::uint64_t size) {
        auto file = fs_.open(nodes_[node].path, platform::Access::read_write, platform::Share::read_write);
        if (!file || (*file)->size() != size) return nullptr;
        return std::move(*file);
    }

    // Splits files that agree so far into classes of equal contents: in
    // lockstep when they may all be open at once, else by a hash of their
    // contents (unless `hashed` says the run already shares one) and then
    // against the first file of each hash.
    bool compare(const std::vector<std::uint32_t>& run, std::uint64_t size, bool hashed) {
        if (run.size() <= kMaxOpenAtOnce) return compare_in_lockstep(run, size);
        return hashed ? compare_with_first(run, size) : split_by_hash(run, size);
    }

    bool split_by_hash(const std::vector<std::uint32_t>& run, std::uint64_t size) {
        std::vector<std::pair<std::uint64_t, std::uint32_t>> hashed;
        if (buffers_.size() < kLockstepBuffers) buffers_.resize(kLockstepBuffers);
        for (std::uint32_t node : run) {
            pump_.serve();
            if (stop_.requested()) return false;
            auto file = open_shared(node, size);
            if (!file) continue;
            std::uint64_t h = 0;
            bool read = true;
            for (std::uint64_t left = size; read && left > 0;) {
                const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(left, buffers_.size()));
                left -= count;
                read = read_fully(*file, buffers_.data(), count);
                h = hash_bytes(h, buffers_.data(), count);
            }
            if (read) hashed.emplace_back(h, node);
        }
        std::sort(hashed.begin(), hashed.end());
        for (std::size_t i = 0; i < hashed.size();) {
            std::size_t j = i + 1;
            while (j < hashed.size() && hashed[j].first == hashed[i].first) ++j;
            if (j - i > 1) {
                std::vector<std::uint32_t> same;
                for (std::size_t k = i; k < j; ++k) same.push_back(hashed[k].second);
                if (!compare(same, size, true)) return false;
            }
            i = j;
        }
        return true;
    }

    // Compares every file with the first one, which stays open; the files
    // that differ from it (a hash that two contents share) are compared
    // again among themselves.
    bool compare_with_first(const std::vector<std::uint32_t>& run, std::uint64_t size) {
        std::vector<std::uint32_t> same{run.front()}, rest;
        auto first = open_shared(run.front(), size);
        const std::size_t half = kLockstepBuffers / 2;
        if (buffers_.size() < 2 * half) buffers_.resize(2 * half);
        for (std::size_t m = 1; first && m < run.size(); ++m) {
            pump_.serve();
            if (stop_.requested()) return false;
            auto other = open_shared(run[m], size);
            if (!other) continue;
            bool equal = first->seek_to_start().ok();
            for (std::uint64_t left = size; equal && left > 0;) {
                const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(left, half));
                left -= count;
                equal = read_fully(*first, buffers_.data(), count) &&
                        read_fully(*other, buffers_.data() + half, count) &&
                        std::memcmp(buffers_.data(), buffers_.data() + half, count) == 0;
            }
            (equal ? same : rest).push_back(run[m]);
        }
        if (same.size() > 1) name_class(same);
        return rest.size() < 2 || compare(rest, size, true);
    }

    // Reads every file of the run at once, block by block, splitting the run
    // where blocks differ; a file left alone is closed at once.
    bool compare_in_lockstep(const std::vector<std::uint32_t>& run, std::uint64_t size) {
        struct Member {
            std::uint32_t node;
            std::unique_ptr<platform::File> file;
        };
        std::vector<std::vector<Member>> parts(1);
        for (std::uint32_t node : run) {
            pump_.serve();
            if (stop_.requested()) return false;
            if (auto file = open_shared(node, size)) parts[0].push_back({node, std::move(file)});
        }
        const std::size_t block = static_cast<std::size_t>(std::min<std::uint64_t>(
            size, std::clamp<std::size_t>(kLockstepBuffers / run.size(), kFirstBlock, 1u << 20)));
        if (buffers_.size() < run.size() * block) buffers_.resize(run.size() * block);
        auto buffer = [&](std::size_t m) { return buffers_.data() + m * block; };
        for (std::uint64_t left = size; left > 0 && !parts.empty();) {
            const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(left, block));
            left -= count;
            std::vector<std::vector<Member>> next;
            for (auto& part : parts) {
                if (part.size() < 2) continue;
                std::vector<std::size_t> read_ok;
                for (std::size_t m = 0; m < part.size(); ++m)
                    if (read_fully(*part[m].file, buffer(m), count)) read_ok.push_back(m);
                // Members with equal blocks stay together, in their order.
                std::vector<std::vector<Member>> split;
                std::vector<std::size_t> leaders;
                for (std::size_t m : read_ok) {
                    std::size_t s = 0;
                    while (s < leaders.size() && std::memcmp(buffer(leaders[s]), buffer(m), count))
                        ++s;
                    if (s == leaders.size()) {
                        leaders.push_back(m);
                        split.emplace_back();
                    }
                    split[s].push_back(std::move(part[m]));
                }
                for (auto& piece : split)
                    if (piece.size() > 1) next.push_back(std::move(piece));
            }
            parts = std::move(next);
            pump_.serve();
            if (stop_.requested()) return false;
        }
        for (const auto& part : parts) {
            std::vector<std::uint32_t> same;
            for (const auto& member : part) same.push_back(member.node);
            name_class(same);
        }
        return true;
    }

    platform::FileSystem& fs_;
    platform::Pump& pump_;
    const platform::StopRequest& stop_;
    const std::vector<Node>& nodes_;
    std::vector<int>& classes_;
    std::vector<bool> refused_;
    std::unordered_map<std::uint32_t, platform::FileIdentity> identities_;
    std::vector<char> heads_;    // the first blocks of one size
    std::vector<char> buffers_;  // the lockstep blocks, kept from one run to the next
    int next_class_ = 0;
    std::uint64_t bytes_read_ = 0;
};

}  // namespace

DuplicateSettings DuplicateSettings::load(const store::DataFolder& data, platform::Registry&,
                                          std::vector<char> drives) {
    DuplicateSettings s;
    s.whole_area = data.exists(kWholeAreaMarker);
    if (!s.whole_area) s.chosen_files = data.read_lines(kChosenFilesList);
    s.drives = std::move(drives);
    s.area_folders = data.read_lines("cf_dirs.txt");
    s.exclusions = search::Exclusions(data.read_lines("cf_dirs_ex.txt"), data.read_lines("cf_shortdirs_ex.txt"),
                                      data.read_lines("cf_files_ex.txt"), data.read_lines("cf_shortfiles_ex.txt"));
    s.filter_types = data.exists(kTypeFilterMarker);
    if (s.filter_types) s.types = data.read_lines(kTypesList);
    return s;
}

bool type_passes(std::string_view path, const std::vector<std::string>& types) {
    const std::size_t dot = path.rfind('.');
    const std::string_view ext = dot == std::string_view::npos ? path : path.substr(dot + 1);
    if (!ext.empty() && ext.front() == '~') return true;
    return std::find(types.begin(), types.end(), search::folded(ext)) != types.end();
}

bool opens_exclusively(platform::FileSystem& fs, const std::string& path) {
    return fs.open(path, platform::Access::read_write, platform::Share::none).ok();
}

DuplicateResult run_duplicate_search(const DuplicateSettings& settings, platform::Platform& platform,
                                     platform::Pump& pump, platform::StopRequest& stop, DuplicateProgress& progress) {
    auto& fs = platform.fs;
    stop.clear();

    // Step 1 and 2: the sources and the targets, as positions in `nodes`.
    std::vector<Node> nodes;
    std::vector<std::uint32_t> sources;
    if (settings.whole_area) {
        progress.step_started("Шаг 1/2 - формирование списка файлов, копии которых надо искать...");
        walk_area(settings, fs, pump, stop, progress, nodes);
    } else {
        for (const auto& path : settings.chosen_files) {
            const auto entry = fs.entry(path);
            sources.push_back(static_cast<std::uint32_t>(nodes.size()));
            nodes.push_back({path, entry && !entry->is_directory() ? entry->size : 0, false, true});
        }
    }
    stop.clear();
    const std::size_t first_target = settings.whole_area ? 0 : nodes.size();
    if (!settings.whole_area) {
        progress.step_started("Шаг 1/2 - формирование списка файлов из области поиска...");
        walk_area(settings, fs, pump, stop, progress, nodes);
    } else {
        sources.resize(nodes.size());
        std::iota(sources.begin(), sources.end(), 0u);
    }
    stop.clear();

    DuplicateResult result;
    if (sources.empty() || nodes.size() == first_target) return result;

    // Files by size, one node per path: `canonical` maps every node to the
    // first node of its path.
    std::vector<std::uint32_t> by_size(nodes.size());
    std::iota(by_size.begin(), by_size.end(), 0u);
    std::sort(by_size.begin(), by_size.end(), [&](auto a, auto b) {
        return nodes[a].size != nodes[b].size ? nodes[a].size < nodes[b].size : a < b;
    });
    std::vector<std::uint32_t> canonical(nodes.size());
    std::vector<std::uint32_t> bucket_of(nodes.size());
    std::vector<std::vector<std::uint32_t>> buckets;  // distinct paths of one size
    std::unordered_map<std::string_view, std::uint32_t> first_of_path;
    for (std::size_t i = 0; i < by_size.size(); ++i) {
        const std::uint32_t node = by_size[i];
        if (i == 0 || nodes[by_size[i - 1]].size != nodes[node].size) {
            buckets.emplace_back();
            first_of_path.clear();
        }
        bucket_of[node] = static_cast<std::uint32_t>(buckets.size() - 1);
        const auto [first, added] = first_of_path.try_emplace(nodes[node].path, node);
        canonical[node] = first->second;
        if (added) {
            buckets.back().push_back(node);
        } else {
            nodes[first->second].target |= nodes[node].target;  // a chosen file the walk met too
            nodes[first->second].chosen |= nodes[node].chosen;
        }
    }
    first_of_path = {};

    // Step 3: the sources in order; each one's size is classified when the
    // first source of that size is met.
    progress.step_started("Шаг 2/2 - сравнение файлов по заданным параметрам...");
    progress.walk_started(sources.size(), nodes[sources.front()].path);
    std::vector<int> classes(nodes.size(), kNoClass);
    std::vector<bool> classified(buckets.size(), false);
    Classifier classifier(fs, pump, stop, nodes, classes);
    std::size_t compared = 0;
    for (; compared < sources.size(); ++compared) {
        pump.serve();
        if (stop.requested()) break;
        const std::uint32_t source = sources[compared];
        progress.walking(compared, nodes[source].path);
        const std::uint32_t bucket = bucket_of[source];
        if (classified[bucket]) continue;
        classified[bucket] = true;
        if (buckets[bucket].size() < 2) continue;
        if (!classifier.classify(buckets[bucket], nodes[source].size)) {
            ++compared;  // the source whose comparison was stopped keeps what it found
            break;
        }
    }
    result.bytes_read = classifier.bytes_read();

    // The targets of each class, by position in the target list.
    std::unordered_map<int, std::vector<std::uint32_t>> targets_of;
    for (std::size_t t = first_target; t < nodes.size(); ++t) {
        const int cls = classes[canonical[t]];
        if (cls != kNoClass && nodes[canonical[t]].target && !classifier.refused(canonical[t]))
            targets_of[cls].push_back(static_cast<std::uint32_t>(t));
    }
    auto identity = [&](std::uint32_t node) { return classifier.identity(canonical[node]); };

    // The first source of a class takes all its targets: the ones that are
    // other files are its copies, the last target first.
    for (std::size_t i = 0; i < compared; ++i) {
        const std::uint32_t source = sources[i];
        const int cls = classes[canonical[source]];
        if (cls == kNoClass) continue;
        auto it = targets_of.find(cls);
        if (it == targets_of.end()) continue;
        std::vector<std::uint32_t> copies;
        std::unordered_set<std::uint32_t> seen_paths{canonical[source]};
        std::unordered_set<platform::FileIdentity, IdentityHash> seen_files;
        if (const auto& id = identity(source)) seen_files.insert(*id);
        for (auto t = it->second.rbegin(); t != it->second.rend(); ++t) {
            if (!seen_paths.insert(canonical[*t]).second) continue;
            const auto& id = identity(*t);
            if (id && !seen_files.insert(*id).second) continue;
            copies.push_back(*t);
        }
        targets_of.erase(it);
        if (copies.empty()) continue;
        if (result.groups.empty() || result.groups.back().found != nodes[source].path)
            result.groups.push_back({nodes[source].path, {}, nodes[source].size});
        for (std::uint32_t c : copies) result.groups.back().copies.push_back(nodes[c].path);
    }
    return result;
}

}  // namespace duplicates
