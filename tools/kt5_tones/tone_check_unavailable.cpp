// A build without a DTMF receiver library: tone files can be made, not checked.
#include "tone_check.h"

namespace kt5::tools {

bool canCheck()
{
    return false;
}

bool checkToneFiles(const std::vector<std::string>&, int, std::ostream& out)
{
    out << "kt5_tones: this build cannot check tone files\n";
    return false;
}

} // namespace kt5::tools
