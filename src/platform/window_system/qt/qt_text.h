#pragma once

#include <QString>

#include <string_view>

namespace kt5::platform::qt {

// The program's UTF-8 text as a QString.
inline QString qtString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace kt5::platform::qt
