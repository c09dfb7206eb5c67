// The errno value that tells the same as a Windows error code (Windows only).
#pragma once

namespace dravella::platform {

int ErrnoFromWindowsError(unsigned long error);

}  // namespace dravella::platform
