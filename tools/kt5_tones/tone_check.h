#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kt5::tools {

// Whether this build can check tone files (it needs a DTMF receiver library).
bool canCheck();

// Says of each file which keys it holds, each tone's length, gap and level, and whether a
// standard DTMF receiver would take them. False when a file is not a sound, holds no DTMF,
// or would not be taken.
bool checkToneFiles(const std::vector<std::string>& files, std::ostream& out);

} // namespace kt5::tools
