#pragma once

namespace kt5::platform::qt {

// Makes the locale that Qt will take from the environment one whose character types are
// UTF-8, keeping every other category as it is. To be called before Qt starts, while this is
// the only thread.
void chooseUtf8CharacterTypes();

} // namespace kt5::platform::qt
