# GoogleTest for the tests. A cross build (Windows, with mingw-w64) builds it from the
# source Debian ships with libgtest-dev and libgmock-dev, with the cross compiler; a
# native build takes Debian's own build.
if(CMAKE_CROSSCOMPILING)
  set(_gtest_src /usr/src/googletest)
  if(NOT EXISTS ${_gtest_src}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest's source is missing: install libgtest-dev and libgmock-dev")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${_gtest_src} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # It names its targets GTest::gtest, GTest::gmock... itself, as find_package does.
else()
  find_package(GTest REQUIRED)
endif()
