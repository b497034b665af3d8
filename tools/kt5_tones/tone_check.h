#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kt5::tools {

// Whether this build can check tone files (it needs a DTMF receiver library).
bool canCheck();

// Says of each file which keys it holds, each tone's length, gap and level, the digital
// silence at its start and end, and whether a standard DTMF receiver would take them, also
// after an output has lost the first `lossMs` of the sound. False when a file is not a sound,
// holds no DTMF, or would not be taken.
bool checkToneFiles(const std::vector<std::string>& files, int lossMs, std::ostream& out);

} // namespace kt5::tools
