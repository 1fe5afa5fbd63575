#pragma once

namespace platform {

// Makes the fonts that pictures and documents name available to Qt: the
// Tahoma of the system's fonts for Windows programs, or a substitute.
void ensurePlatformFonts();

}  // namespace platform
