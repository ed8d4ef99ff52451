# Installing the programs as a desktop program, and the .deb made of it.
# Included last from the top-level CMakeLists, after every program's target.

include(GNUInstallDirs)

set(meterlink_programs meterlink meter-emulator meterlink-cli)
foreach(program ${meterlink_programs})
  # Programs that are not built in this tree (yet) are skipped.
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${PROJECT_SOURCE_DIR}/docs/man/${program}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()

set(app_id io.meterlink.meterlink)
install(FILES ${PROJECT_SOURCE_DIR}/data/${app_id}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${app_id}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 128)
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/meterlink-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME meterlink.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/meterlink.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

if(METERLINK_TESTS)
  # The install tree as a user gets it: files in place, the desktop entry and
  # the metainfo valid, the program starting from there.
  add_test(NAME install_tree
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR}
                   -DPREFIX=${PROJECT_BINARY_DIR}/install-check -DAPP_ID=${app_id}
                   -P ${PROJECT_SOURCE_DIR}/packaging/check-install.cmake)
  set_tests_properties(install_tree PROPERTIES TIMEOUT 120
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=/tmp/meterlink-xdg")
endif()

set(CPACK_PACKAGE_NAME meterlink)
set(CPACK_PACKAGE_VENDOR "meterlink")
set(CPACK_PACKAGE_CONTACT "meterlink maintainers <maintainers@meterlink.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Companion program of a handheld digital multimeter with an RS-232 link")
set(CPACK_PACKAGE_DESCRIPTION
    "Shows the live reading of the meter, records it to data files, draws it as a dial, a list and a graph, and reads, downloads and configures the meter's data logger. Includes a meter emulator.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The Qt libraries the programs link, found by dpkg-shlibdeps; the window
# system plugins are loaded at run time, so no library link names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
