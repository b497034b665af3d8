# SOURCE_DATE_EPOCH, the time every file of the packages carries: the caller's if set at
# configure time, else the last commit's, else the release date (a tree without git).
# CPack reads it from its own environment, which CPACK_PROJECT_CONFIG_FILE sets.
include_guard(GLOBAL)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  find_package(Git QUIET)
  if(GIT_FOUND AND EXISTS "${PROJECT_SOURCE_DIR}/.git")
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${PROJECT_SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    # A new commit (or checkout) configures again, and so takes the new time.
    if(EXISTS "${PROJECT_SOURCE_DIR}/.git/logs/HEAD")
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                   "${PROJECT_SOURCE_DIR}/.git/logs/HEAD")
    endif()
  endif()
  if(NOT epoch MATCHES "^[0-9]+$")
    execute_process(COMMAND date -u -d "${KT5_RELEASE_DATE}" +%s OUTPUT_VARIABLE epoch
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
  endif()
endif()
set(KT5_SOURCE_DATE_EPOCH "${epoch}")
message(STATUS "SOURCE_DATE_EPOCH for the packages: ${KT5_SOURCE_DATE_EPOCH}")
