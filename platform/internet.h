#pragma once
// The internet client of the update check.
#include <string>

#include "platform/status.h"

namespace platform {

class Internet {
public:
    virtual ~Internet() = default;
    // Whether the machine reports a connection.
    virtual bool connected() = 0;
    // Downloads an http:// address into a file (created or emptied once the
    // server answers), in reads of at most 1024 bytes, always from the server
    // (no cached copy). Fails when the server cannot be reached or answers
    // with a status other than 2xx (the answer's body is still written).
    virtual Status download(const std::string& url, const std::string& file) = 0;
};

}  // namespace platform
