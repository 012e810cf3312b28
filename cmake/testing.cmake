# GoogleTest from Debian's sources, built with whichever compiler this build uses.
if(NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
endif()

#   lumivane_test(<name> LABELS <label>... SOURCES <file>... [RESOURCES <rc>...] [LIBRARIES <lib>...])
# One test executable, registered as one ctest test. The product's resources are always
# embedded; RESOURCES adds test-only ones. Under the Windows build ctest runs it through
# the cross-compiling emulator (Wine).
function(lumivane_test name)
  cmake_parse_arguments(T "" "" "LABELS;SOURCES;RESOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE lumivane_core GTest::gtest GTest::gtest_main GTest::gmock ${T_LIBRARIES})
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}/tests")
  lumivane_add_resources(${name} "${CMAKE_SOURCE_DIR}/resources/lumivane.rc")
  foreach(rc IN LISTS T_RESOURCES)
    lumivane_add_resources(${name} "${rc}")
  endforeach()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set(labels ${T_LABELS})
  if(WIN32)
    list(APPEND labels wine)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT 600)
endfunction()
