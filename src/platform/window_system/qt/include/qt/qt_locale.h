#pragma once

#include <functional>
#include <string>

namespace kt5::platform::qt {

// The character encoding of the locale `name` for the categories in `mask` (LC_*_MASK), or
// nothing when the system does not have that locale.
using LocaleEncoding = std::function<std::string(const std::string& name, int mask)>;

// The system's answer, from the C library.
std::string systemLocaleEncoding(const std::string& name, int mask);

// Makes the locale that Qt will take from the environment one whose character types are
// UTF-8, keeping every other category as it is, where the system has such a locale; leaves
// it as it was where it has none. To be called before Qt starts, while this is the only
// thread.
void chooseUtf8CharacterTypes(const LocaleEncoding& encodingOf = systemLocaleEncoding);

} // namespace kt5::platform::qt
