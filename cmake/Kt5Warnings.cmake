# The project's warning set, one INTERFACE target that every target of the project links
# PRIVATE. Warnings become errors through CMAKE_COMPILE_WARNING_AS_ERROR (set by the presets
# when CI is set).
add_library(kt5_warnings INTERFACE)
if(MSVC)
  target_compile_options(kt5_warnings INTERFACE /W4 /permissive-)
else()
  target_compile_options(kt5_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 reports -Wrestrict inside std::string's own operator+ when optimising (GCC bug
    # 105329); the warning is wrong there and would stop optimised builds.
    target_compile_options(kt5_warnings INTERFACE -Wno-restrict)
  endif()
endif()
