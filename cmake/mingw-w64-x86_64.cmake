# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (its posix thread model, which
# GoogleTest needs; linked statically, it adds no DLL).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# At -Os, GCC 16 calls a string's shared constructor body (its "C4" symbol), which mingw-w64's
# libstdc++ does not export, so the program does not link. Constructors kept whole, as at
# every other level, link with every GCC.
set(CMAKE_CXX_FLAGS_MINSIZEREL_INIT "-fno-declone-ctor-dtor")
