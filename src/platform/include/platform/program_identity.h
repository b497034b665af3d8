#pragma once

#include <string_view>

namespace kt5::platform {

// How the program names itself to the desktop: in the sound settings and menus
// (`displayName`), and as the desktop file, icon and Wayland app id (`desktopId`), so that the
// desktop can tie a window or a sound stream to its menu entry. (Its own name, which starts
// its error lines, is the product's, kt5::product::kProgramName.)
struct ProgramIdentity {
    std::string_view displayName;
    std::string_view desktopId;
};

} // namespace kt5::platform
