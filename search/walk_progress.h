#pragma once
// What a result window shows while a file search walks its folders.
#include <cstddef>
#include <string>

namespace search {

class WalkProgress {
public:
    virtual ~WalkProgress() = default;
    // The walk folder list is ready: `count` folders, the first one or "".
    virtual void walk_started(std::size_t count, const std::string& first) = 0;
    // Walk folder number `index` (from 0) is being walked.
    virtual void walking(std::size_t index, const std::string& folder) = 0;
};

}  // namespace search
