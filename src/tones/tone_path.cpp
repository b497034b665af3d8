#include "tones/tone_path.h"

namespace kt5::tones {

platform::NativeString tonePath(const platform::NativeString& directory, std::string_view fileName)
{
    platform::NativeString path = directory;
    if (path.empty() || path.back() != platform::kPathSeparator)
        path += platform::kPathSeparator;
    path += platform::nativeFromAscii(fileName);
    return path;
}

} // namespace kt5::tones
