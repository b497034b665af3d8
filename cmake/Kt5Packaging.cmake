# The packages users install: from a Linux build a Debian package (cpack -G DEB), from the
# Windows build a portable zip and an NSIS installer (cpack -G ZIP, -G NSIS).
set(CPACK_PACKAGE_NAME "${KT5_PACKAGE_NAME}")
set(CPACK_PACKAGE_VENDOR "HALVORN")
set(CPACK_PACKAGE_CONTACT "${KT5_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dialer of KT-5 remote-control DTMF commands")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON) # values written as they are, quotes and all
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")

if(WIN32)
  set(CPACK_GENERATOR "ZIP;NSIS")
  set(CPACK_SYSTEM_NAME "win64")
  # A 64-bit installer for a 64-bit program, into the 64-bit Program Files.
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_PACKAGE_INSTALL_DIRECTORY "KT-5 DTMF Dialer")
  set(CPACK_PACKAGE_EXECUTABLES "kt5_dtmf;KT-5 DTMF Dialer")
  set(CPACK_NSIS_PACKAGE_NAME "${KT5_PRODUCT_NAME}")
  set(CPACK_NSIS_DISPLAY_NAME "${KT5_PRODUCT_NAME}")
  set(CPACK_NSIS_INSTALLED_ICON_NAME "kt5_dtmf.exe")
  set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/resources/kt5_dtmf.ico")
  set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/resources/kt5_dtmf.ico")
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  # CPack's uninstaller leaves the vendor's registry key behind, empty; by this point it has
  # read all it needs from the program's key beneath.
  set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
      "DeleteRegKey SHCTX \"Software\\HALVORN\\KT-5 DTMF Dialer\"
       DeleteRegKey /ifempty SHCTX \"Software\\HALVORN\"")
  set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
  # The installer's own version block: the program's, in the same words.
  set(CPACK_NSIS_DEFINES "
    Target amd64-unicode
    VIProductVersion ${PROJECT_VERSION}
    VIAddVersionKey /LANG=1033 ProductName \"${KT5_PRODUCT_NAME}\"
    VIAddVersionKey /LANG=1033 ProductVersion \"${KT5_FILE_VERSION}\"
    VIAddVersionKey /LANG=1033 FileVersion \"${KT5_FILE_VERSION}\"
    VIAddVersionKey /LANG=1033 FileDescription \"${KT5_PRODUCT_NAME} installer\"
    VIAddVersionKey /LANG=1033 CompanyName \"HALVORN\"
    VIAddVersionKey /LANG=1033 LegalCopyright \"HALVORN\"")
else()
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
  # at the first sound, and Qt's platform plugins; it finds the rest.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsndfile1, libasound2, qt6-qpa-plugins")
  # What carries ALSA's default device to the desktop's sound server.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libasound2-plugins | pipewire-alsa")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
