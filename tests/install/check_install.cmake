# Installs the build tree into a scratch prefix and checks that the program, its tone files
# and its desktop metadata land where a desktop expects them.
#   cmake -DBUILD_DIR=... -DSTAGE=... -P check_install.cmake
file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${STAGE}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(appdir "${STAGE}/libexec/kt5_dtmf")
set(expected
  "${appdir}/kt5_dtmf"
  "${STAGE}/bin/kt5_dtmf"
  "${STAGE}/share/applications/kt5_dtmf.desktop"
  "${STAGE}/share/metainfo/com.halvorn.kt5_dtmf.metainfo.xml"
  "${STAGE}/share/icons/hicolor/32x32/apps/kt5_dtmf.png")
foreach(n RANGE 0 10)
  string(REGEX REPLACE "^([0-9])$" "0\\1" nn "${n}")
  list(APPEND expected "${appdir}/${nn}.wav")
endforeach()
foreach(path IN LISTS expected)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

# The link in bin must lead to the program that sits beside its tones.
file(REAL_PATH "${STAGE}/bin/kt5_dtmf" resolved)
file(REAL_PATH "${appdir}/kt5_dtmf" program)
if(NOT resolved STREQUAL program)
  message(FATAL_ERROR "bin/kt5_dtmf leads to ${resolved}, not ${program}")
endif()
file(REMOVE_RECURSE "${STAGE}")
