# Run by cpack after it has made a package (CPACK_POST_BUILD_SCRIPTS): what CPack 3.25
# leaves to chance, made the same on every machine.
#
# .deb: CPack writes the ar header of each member (debian-binary, control.tar.gz,
# data.tar.*) with the mode its temporary file got from the umask, 100664 under umask 0002;
# dpkg-deb writes 100644, and so does this.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(package MATCHES "\\.deb$")
    set(mode_file "${CPACK_TOPLEVEL_DIRECTORY}/kt5-ar-mode")
    file(WRITE "${mode_file}" "100644  ")
    set(offset 8) # after "!<arch>\n"
    foreach(member RANGE 1 3)
      file(READ "${package}" header OFFSET ${offset} LIMIT 60)
      string(SUBSTRING "${header}" 48 10 size)
      string(STRIP "${size}" size)
      math(EXPR mode_at "${offset} + 40")
      execute_process(COMMAND dd "of=${package}" bs=1 seek=${mode_at} conv=notrunc status=none
                      INPUT_FILE "${mode_file}" COMMAND_ERROR_IS_FATAL ANY)
      math(EXPR offset "${offset} + 60 + ${size} + ${size} % 2")
    endforeach()
    file(REMOVE "${mode_file}")
  endif()
endforeach()

# ZIP: CPack 3.25 adds the files in the order the file system lists the staging folder
# (hash order on ext4, newest first on tmpfs). Made again here in sorted order with
# CMake's own archiver, which gives every entry the time SOURCE_DATE_EPOCH says.
if(CPACK_GENERATOR STREQUAL "ZIP")
  file(GLOB_RECURSE entries LIST_DIRECTORIES false RELATIVE "${CPACK_TOPLEVEL_DIRECTORY}"
       "${CPACK_TEMPORARY_DIRECTORY}/*") # sorted
  list(JOIN entries "\n" entries)
  file(WRITE "${CPACK_TOPLEVEL_DIRECTORY}/kt5-zip-entries" "${entries}\n")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E tar cf "${CPACK_TEMPORARY_PACKAGE_FILE_NAME}" --format=zip
            "--files-from=${CPACK_TOPLEVEL_DIRECTORY}/kt5-zip-entries"
    WORKING_DIRECTORY "${CPACK_TOPLEVEL_DIRECTORY}" COMMAND_ERROR_IS_FATAL ANY)
endif()

# NSIS: makensis adds `File /r` in sorted order itself, but the uninstaller's list of
# Delete commands is CPack's, in the file system's order: sorted here, and the installer
# made again from the same script.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(nsi "${CPACK_TOPLEVEL_DIRECTORY}/project.nsi")
  file(READ "${nsi}" script)
  string(REGEX MATCH "(  Delete \"\\$INSTDIR\\\\[^\n]*\n)+" deletes "${script}")
  string(REGEX MATCHALL "[^\n]*\n" lines "${deletes}")
  list(SORT lines)
  list(JOIN lines "" sorted)
  if(NOT sorted STREQUAL deletes)
    string(REPLACE "${deletes}" "${sorted}" script "${script}")
    file(WRITE "${nsi}" "${script}")
    execute_process(COMMAND "${CPACK_INSTALLER_PROGRAM}" -V1 "${nsi}"
                    WORKING_DIRECTORY "${CPACK_TOPLEVEL_DIRECTORY}" OUTPUT_QUIET
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endif()
