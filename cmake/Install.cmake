# `make install` (CMake install, /usr/local unless CMAKE_INSTALL_PREFIX says
# otherwise) and `make package` (a .deb through CPack): the three programs,
# the desktop entry, the icon in the hicolor sizes the artwork generator
# draws, and the user manual.
include(GNUInstallDirs)

install(TARGETS zorelcontrol zorelctl zorel-virtual-pedal RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/zorelcontrol.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48 64 128 256)
  install(FILES ${CMAKE_BINARY_DIR}/resources/generated/icons/hicolor/${size}x${size}/apps/zorelcontrol.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/resources/generated/Dravix_KWTN_ZL_OM1.pdf
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zorelcontrol)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorelcontrol)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZorelControl developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and librarian for the Dravix Movrant Zorel pedal")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "Connects to the pedal over MIDI SysEx, shows every parameter of the current\n"
       "preset on a control surface and sends each edit at once, keeps a local\n"
       "library of presets and IRs, saves and loads preset files, backs up and\n"
       "restores the pedal, imports WAV files as user IRs and updates the firmware.\n"
       "Includes the command-line tool zorelctl and a virtual pedal for trying it\n"
       "without the hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "ZorelControl developers <zorelcontrol@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The Debian runtime packages of the libraries the programs link, found by
# dpkg-shlibdeps; fonts and the virtual pedal's JACK server are extras.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, jackd2")
include(CPack)
