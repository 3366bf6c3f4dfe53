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
    // Downloads an http:// address into a file, in reads of at most 1024 bytes.
    virtual Status download(const std::string& url, const std::string& file) = 0;
};

}  // namespace platform
