#pragma once
// The internet client of the update check.
#include <cstdint>
#include <string>

#include "platform/status.h"

namespace platform {

// A download's bounds: its body's size, and the time it may take as a whole.
inline constexpr std::uint64_t kDownloadLimit = 1u << 20;
inline constexpr int kDownloadSeconds = 30;

class Internet {
public:
    virtual ~Internet() = default;
    // Whether the machine reports a connection.
    virtual bool connected() = 0;
    // Downloads an http:// address into a file (created or emptied once the
    // server answers), in reads of at most 1024 bytes, always from the server
    // (no cached copy). Fails when the server cannot be reached or answers
    // with a status other than 2xx (the answer's body is still written), and
    // when the body grows past kDownloadLimit or the whole download takes
    // longer than kDownloadSeconds (what arrived until then is written).
    virtual Status download(const std::string& url, const std::string& file) = 0;
};

}  // namespace platform
