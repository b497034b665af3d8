# kt5_hardening: one INTERFACE target carrying the hardening flags of Debian's own packages
# (and, for the Windows build, the PE flags that keep ASLR and DEP), linked PRIVATE by every
# target of what is shipped. Optimised configurations only: _FORTIFY_SOURCE needs the
# optimiser, and the -O level stays CMake's own.
include_guard(GLOBAL)
include(CheckCXXCompilerFlag)
add_library(kt5_hardening INTERFACE)
set(kt5_optimised "$<CONFIG:Release,MinSizeRel,RelWithDebInfo>")

# Paths of the source and build trees never reach the binaries, so that two builds from
# different folders give the same bytes (also what dpkg-buildflags' fixfilepath does).
target_compile_options(kt5_hardening INTERFACE
  "-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=" "-ffile-prefix-map=${PROJECT_BINARY_DIR}/=")

if(WIN32)
  # Linked statically with -s, the PE keeps its relocations and the ASLR, high-entropy VA
  # and NX bits (the defaults of binutils >= 2.36, said explicitly); no link time stamp.
  target_link_options(kt5_hardening INTERFACE
    LINKER:--dynamicbase LINKER:--high-entropy-va LINKER:--nxcompat
    LINKER:--enable-reloc-section LINKER:--no-insert-timestamp)
endif()

# Installs a program as dh_strip would: stripped (by CPACK_STRIP_FILES / --strip), then
# without the compilers' .comment and the .note section.
function(kt5_install_program target destination)
  install(TARGETS ${target} RUNTIME DESTINATION "${destination}")
  if(NOT WIN32 AND CMAKE_OBJCOPY)
    install(CODE "
      if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/$<TARGET_FILE_NAME:${target}>\"
          COMMAND_ERROR_IS_FATAL ANY)
      endif()")
  endif()
endfunction()
if(WIN32)
  return()
endif()

# dpkg-buildflags' answer where there is one, less what CMake's configuration decides:
# -g, -O and the prefix map (ours above names both trees).
find_program(KT5_DPKG_BUILDFLAGS dpkg-buildflags)
mark_as_advanced(KT5_DPKG_BUILDFLAGS)
set(kt5_cppflags -D_FORTIFY_SOURCE=2)
set(kt5_cxxflags -fstack-protector-strong -Wformat -Werror=format-security)
set(kt5_ldflags -Wl,-z,relro -Wl,-z,now)
if(KT5_DPKG_BUILDFLAGS)
  foreach(kind IN ITEMS CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND "${CMAKE_COMMAND}" -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              "${KT5_DPKG_BUILDFLAGS}" --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^(-g[0-9]*|-O.*|-ffile-prefix-map=.*|-fdebug-prefix-map=.*)$")
    string(TOLOWER "${kind}" kind)
    set(kt5_${kind} ${flags})
  endforeach()
endif()
# Newer than Debian 12's dpkg-buildflags (dpkg >= 1.22 adds them for amd64 itself).
foreach(flag IN ITEMS -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "KT5_HAS${flag}" has)
  if(NOT flag IN_LIST kt5_cxxflags)
    check_cxx_compiler_flag(${flag} ${has})
    if(${has})
      list(APPEND kt5_cxxflags ${flag})
    endif()
  endif()
endforeach()
message(STATUS "Hardening (optimised builds): ${kt5_cppflags} ${kt5_cxxflags} ${kt5_ldflags}")

target_compile_options(kt5_hardening INTERFACE
  "$<${kt5_optimised}:${kt5_cppflags};${kt5_cxxflags}>")
target_link_options(kt5_hardening INTERFACE "$<${kt5_optimised}:${kt5_ldflags}>")
