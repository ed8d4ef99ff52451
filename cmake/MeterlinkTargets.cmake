# Helpers shared by every CMakeLists of the project.

# Warnings for our own targets.
function(meterlink_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
    -Wconversion -Wno-sign-conversion)
  if(METERLINK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# meterlink_library(NAME DIR LIBS...)
# A static library from every .cpp/.h directly inside DIR.
function(meterlink_library name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    # Nothing written yet: an empty library that only passes its links on.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
    return()
  endif()
  file(GLOB headers CONFIGURE_DEPENDS ${dir}/*.h)
  add_library(${name} STATIC ${sources} ${headers})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN})
  meterlink_warnings(${name})
endfunction()

# meterlink_tests(LIBS...)
# One Qt Test executable and CTest entry per tst_*.cpp in the calling directory.
function(meterlink_tests)
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  foreach(src ${tests})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE Qt6::Test meterlink_testsupport ${ARGN})
    meterlink_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 120
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=60000;XDG_RUNTIME_DIR=/tmp/meterlink-xdg;XDG_CONFIG_HOME=/tmp/meterlink-xdg/config")
  endforeach()
endfunction()
