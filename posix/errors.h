#pragma once
// Failures of the stand-in, worded as Windows words them (in Russian, cp1251),
// so that native and Windows runs report alike.
#include "platform/status.h"

namespace platform::posix {

enum class Error {
    file_not_found = 2,
    path_not_found = 3,
    access_denied = 5,
    invalid_parameter = 87,
    sharing_violation = 32,
    invalid_name = 123,
    not_empty = 145,
    not_a_folder = 267,
    already_exists = 183,
    key_not_found = 1000,  // not a Windows number: a registry key or value is missing
};

Status failure(Error error);
// A failure from an errno value.
Status errno_failure(int error);

}  // namespace platform::posix
