option(KT5_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

# Applies the project's warning set to one target.
function(kt5_set_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive-)
    if(KT5_WARNINGS_AS_ERRORS)
      target_compile_options(${target} PRIVATE /WX)
    endif()
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      # GCC 12 reports -Wrestrict inside std::string's own operator+ when optimising
      # (GCC bug 105329); the warning is wrong there and would stop optimised builds.
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    if(KT5_WARNINGS_AS_ERRORS)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()
