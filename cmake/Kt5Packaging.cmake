# The packages users install: from a Linux build a Debian package (cpack -G DEB), from the
# Windows build a portable zip and an NSIS installer (cpack -G ZIP, -G NSIS).
set(CPACK_PACKAGE_NAME "${KT5_PACKAGE_NAME}")
set(CPACK_PACKAGE_VENDOR "${KT5_DEVELOPER}")
set(CPACK_PACKAGE_CONTACT "${KT5_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dialer of KT-5 remote-control DTMF commands")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
# cpack's own environment gets the time its packages' files carry (see Kt5SourceDate).
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_BINARY_DIR}/Kt5CPackOptions.cmake")
file(CONFIGURE OUTPUT "${CPACK_PROJECT_CONFIG_FILE}" CONTENT [[
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} "@KT5_SOURCE_DATE_EPOCH@")
endif()
]] @ONLY)
set(CPACK_POST_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/Kt5CPackPostBuild.cmake")
set(CPACK_VERBATIM_VARIABLES ON) # values written as they are, quotes and all
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")

if(WIN32)
  set(CPACK_GENERATOR "ZIP;NSIS")
  set(CPACK_SYSTEM_NAME "win64")
  # A 64-bit installer for a 64-bit program, into the 64-bit Program Files: $PROGRAMFILES, as a
  # 64-bit installer reads it. CPack writes InstallDir before the Target line below, so
  # $PROGRAMFILES64 there is read as a 32-bit installer reads it, which Debian's Wine from
  # 10.0~repack-12 on (32-bit programs run by its 64-bit Wine) answers with Program Files (x86).
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
  set(CPACK_PACKAGE_INSTALL_DIRECTORY "${KT5_WINDOWS_FOLDER}")
  # The Start menu entry, to the program where it lies: $INSTDIR itself. (CPACK_PACKAGE_EXECUTABLES
  # would point into $INSTDIR\bin, or with CPACK_NSIS_EXECUTABLES_DIRECTORY "." to "$INSTDIR\.\".)
  set(CPACK_NSIS_MENU_LINKS "kt5_dtmf.exe;${KT5_WINDOWS_FOLDER}")
  # The key under ...\CurrentVersion\Uninstall (CPack's default, said here to be used below).
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${CPACK_PACKAGE_INSTALL_DIRECTORY}")
  set(CPACK_RESOURCE_FILE_LICENSE "${KT5_LICENSE_FILE}")
  set(CPACK_NSIS_PACKAGE_NAME "${KT5_PRODUCT_NAME}")
  set(CPACK_NSIS_DISPLAY_NAME "${KT5_PRODUCT_NAME}")
  set(CPACK_NSIS_INSTALLED_ICON_NAME "kt5_dtmf.exe")
  set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/resources/kt5_dtmf.ico")
  set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/resources/kt5_dtmf.ico")
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  # The program's event source, so that Event Viewer shows its events' text by the program's
  # message table; the machine's, as every event source is.
  set(event_source "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\${KT5_PROGRAM_NAME}")
  # CPack's uninstaller leaves the vendor's registry key behind, empty; by this point it has
  # read all it needs from the program's key beneath.
  set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
      "DeleteRegKey SHCTX \"Software\\HALVORN\\${KT5_WINDOWS_FOLDER}\"
       DeleteRegKey /ifempty SHCTX \"Software\\HALVORN\"
       DeleteRegKey HKLM \"${event_source}\"")
  set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
  # Apps & features shows the size and the folder.
  set(uninstall_key "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}")
  set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
    WriteRegStr SHCTX \"${uninstall_key}\" \"InstallLocation\" \"$INSTDIR\"
    \${GetSize} \"$INSTDIR\" \"/S=0K\" $0 $1 $2
    IntFmt $0 \"0x%08X\" $0
    WriteRegDWORD SHCTX \"${uninstall_key}\" \"EstimatedSize\" \"$0\"
    WriteRegExpandStr HKLM \"${event_source}\" \"EventMessageFile\" \"$INSTDIR\\kt5_dtmf.exe\"
    WriteRegDWORD HKLM \"${event_source}\" \"TypesSupported\" 7")
  # The installer's own version block: the program's, in the same words.
  # SetDateSave off: the installer carries no file times (each build's would differ).
  set(CPACK_NSIS_DEFINES "
    Target amd64-unicode
    SetDateSave off
    !include FileFunc.nsh
    VIProductVersion ${PROJECT_VERSION}
    VIAddVersionKey /LANG=1033 ProductName \"${KT5_PRODUCT_NAME}\"
    VIAddVersionKey /LANG=1033 ProductVersion \"${KT5_FILE_VERSION}\"
    VIAddVersionKey /LANG=1033 FileVersion \"${KT5_FILE_VERSION}\"
    VIAddVersionKey /LANG=1033 FileDescription \"${KT5_PRODUCT_NAME} installer\"
    VIAddVersionKey /LANG=1033 CompanyName \"HALVORN\"
    VIAddVersionKey /LANG=1033 LegalCopyright \"HALVORN\"")
else()
  # Sets OUT to the packages, as a Depends list, that hold FILES on the building system: a
  # path, or a library's file name in the target's library folders.
  function(kt5_debian_packages_holding out)
    set(packages "")
    foreach(file IN LISTS ARGN)
      if(NOT IS_ABSOLUTE "${file}")
        set(file "*/${CMAKE_LIBRARY_ARCHITECTURE}/${file}")
      endif()
      execute_process(COMMAND dpkg-query -S "${file}" OUTPUT_VARIABLE found
                      RESULT_VARIABLE status ERROR_QUIET)
      string(REGEX MATCH "^[^:,]+" package "${found}")
      if(NOT status EQUAL 0 OR NOT package)
        message(WARNING "No Debian package holds ${file}: the .deb will not depend on it")
        continue()
      endif()
      list(APPEND packages "${package}")
    endforeach()
    list(REMOVE_DUPLICATES packages)
    list(JOIN packages ", " packages)
    set(${out} "${packages}" PARENT_SCOPE)
  endfunction()
  find_package(Qt6 REQUIRED COMPONENTS Core)
  set(KT5_LOADED_BY_NAME "${KT5_SNDFILE_LIBRARY}" "${KT5_ASOUND_LIBRARY}"
      "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/platforms/libqxcb.so")

  set(CPACK_GENERATOR "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION "sound")
  set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
  # Below the summary, which CPack puts first.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "One window with eleven buttons, *00# to *10#. Each plays, on the
default sound output, the DTMF tone sequence of a KT-5 remote-control
command from the wave file beside the program; a tone set is included.
kt5_tones makes tone files to order and checks what a tone file holds.")
  # What is loaded by name, which dpkg-shlibdeps cannot see: libsndfile and libasound, bound
  # at the first sound, and Qt's X11 platform plugin; it finds the rest. Each is named as the
  # building release names the package that holds it (libasound2, or libasound2t64 since
  # the 64-bit time_t renames).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  kt5_debian_packages_holding(CPACK_DEBIAN_PACKAGE_DEPENDS ${KT5_LOADED_BY_NAME})
  # The face that stands in for Tahoma, found by name through fontconfig (the layout's
  # substitutes); the same package on every release. Without it the wider DejaVu Sans is used.
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", fonts-dejavu-extra")
  # What carries ALSA's default device to the desktop's sound server.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libasound2-plugins | pipewire-alsa")
  # Native on a Wayland desktop. Only suggested: where the compositor leaves window borders
  # to the program (GNOME), XWayland gives the desktop's own title bar, and Qt's drawn one
  # would look foreign there.
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # The tone files in /etc are the administrator's: conffiles, which CPack does not list.
  list(JOIN KT5_TONE_CONFFILES "\n" conffiles)
  file(CONFIGURE OUTPUT "${PROJECT_BINARY_DIR}/debian/conffiles" CONTENT "${conffiles}\n")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${PROJECT_BINARY_DIR}/debian/conffiles")
  # Stripped as dh_strip does (see kt5_install_program); the Windows programs are linked
  # stripped, and a second strip would only give them new times.
  set(CPACK_STRIP_FILES ON)
endif()
include(CPack)
