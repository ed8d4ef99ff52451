# Installs the build into PREFIX and checks what a user would get.
# cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -P check-install.cmake

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${status}):\n${out}${err}")
  endif()
endfunction()

file(REMOVE_RECURSE ${PREFIX})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})

set(expected
  bin/meterlink bin/meter-emulator
  share/man/man1/meterlink.1 share/man/man1/meter-emulator.1
  share/applications/${APP_ID}.desktop share/metainfo/${APP_ID}.metainfo.xml
  share/icons/hicolor/48x48/apps/meterlink.png share/icons/hicolor/128x128/apps/meterlink.png
  share/icons/hicolor/scalable/apps/meterlink.svg)
if(EXISTS ${BUILD_DIR}/cli/meterlink-cli)
  list(APPEND expected bin/meterlink-cli share/man/man1/meterlink-cli.1)
endif()
foreach(file ${expected})
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# Nothing else: no libraries, test programs or tools of the build.
file(GLOB installed_programs RELATIVE ${PREFIX}/bin ${PREFIX}/bin/*)
foreach(program ${installed_programs})
  if(NOT program MATCHES "^(meterlink|meter-emulator|meterlink-cli)$")
    message(FATAL_ERROR "installed but not a program of the package: bin/${program}")
  endif()
endforeach()

run(desktop-file-validate ${PREFIX}/share/applications/${APP_ID}.desktop)
run(appstreamcli validate --no-net ${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml)
# The desktop entry starts what was installed, by the name it gives.
file(STRINGS ${PREFIX}/share/applications/${APP_ID}.desktop exec REGEX "^Exec=")
string(REGEX REPLACE "^Exec=([^ ]+).*" "\\1" exec "${exec}")
run(${PREFIX}/bin/${exec} --version)
run(${PREFIX}/bin/meter-emulator --help)
