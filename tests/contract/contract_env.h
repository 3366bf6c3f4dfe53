#pragma once
// What the contract suites need from the side they run on. The same tests
// run natively against posix (tests/native/contract_env_posix.cpp)
// and under Wine against win32 (tests/win32/contract_env_win32.cpp),
// with the same expectations. Nothing here touches files outside the
// folders it makes (and, under Wine, the private prefix).
#include <memory>
#include <string>

#include "platform/platform.h"

namespace contract {

// The platform of this side.
platform::Platform& services();

// A fresh empty folder for one test: an absolute Windows path (cp1251), such
// as "C:\users\me\Temp\vct-1234-1". Removed, with all it holds, when the test
// program ends.
std::string make_temp_folder();

// A symbolic link (or junction) `link` to the folder `target`.
bool make_folder_link(const std::string& link, const std::string& target);
// A second name (a hard link) of the file `target`.
bool make_hard_link(const std::string& link, const std::string& target);
// A file in `folder` whose name has no cp1251 form ("日本.txt"); the name as
// the folder lists it would be "??.txt".
bool make_file_without_cp1251_name(const std::string& folder);

// Whether emptying the recycle bin touches only a bin of the test's own: the
// stand-in's trash folder, or under Wine the trash that scripts/wine-run
// keeps beside the prefix. Never a user's own bin.
bool recycle_bin_is_private();

// The short (8.3) form of an existing path.
std::string short_path(const std::string& path);

// A fresh key "Software\VorlindeTest\..." under HKEY_CURRENT_USER (not yet
// created), removed when the test program ends.
std::string make_registry_test_key();

// A command line that starts a program which creates the file `marker`.
std::string marker_command(const std::string& marker);

// An HTTP/1.0 server on the loopback address, serving `body` at every path
// but "/missing" (404), until it is destroyed.
class HttpServer {
public:
    explicit HttpServer(std::string body);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;
    int port() const;

    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace contract
