#pragma once

#include "platform/native_string.h"

namespace kt5::platform::os {

// The full path of the directory holding the running executable, as the system gives it,
// bytes and all (a directory whose name is valid in no encoding must still be found): without
// a trailing separator, except at the root ("/", "C:\"). Empty when the system cannot tell.
NativeString executableDirectory();

} // namespace kt5::platform::os
