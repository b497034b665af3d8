#include "support/temp_dir.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <sys/stat.h>

namespace kt5::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kt5-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    // Restore access first: some tests leave files that their owner may not read.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        ::chmod(entry.path().c_str(), 0700);
    std::filesystem::remove_all(path_, ignored);
}

} // namespace kt5::test
