# GoogleTest and the way test programs become ctest tests.
#
# A native build uses the system's GoogleTest. A cross build for Windows
# compiles Debian's GoogleTest sources with the cross compiler, and ctest
# runs each test program as one test through the emulator (Wine): starting
# Wine once per program instead of once per test case keeps the stage short.
if(CMAKE_CROSSCOMPILING)
  set(DRAVELLA_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
      "GoogleTest sources compiled for cross builds")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${DRAVELLA_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

function(dravella_add_gtests target)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target})
  else()
    gtest_discover_tests(${target} ${ARGN})
  endif()
endfunction()

# Drops from the list named by list_var the files of the other platform:
# those ending in _windows_test.cpp or _posix_test.cpp.
function(dravella_platform_sources list_var)
  if(WIN32)
    list(FILTER ${list_var} EXCLUDE REGEX "_posix_test\\.cpp$")
  else()
    list(FILTER ${list_var} EXCLUDE REGEX "_windows_test\\.cpp$")
  endif()
  set(${list_var} ${${list_var}} PARENT_SCOPE)
endfunction()
