# GoogleTest for the test programs, as the targets GTest::gtest,
# GTest::gtest_main and GTest::gmock.
#
# Natively Debian's build serves. Debian ships no MinGW build of it, so a
# cross build compiles it from Debian's sources with the cross compilers. Its
# headers are system headers there too, so the project's -Werror does not
# reach them.
if(CMAKE_CROSSCOMPILING)
  set(TRACCIATO_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${TRACCIATO_GOOGLETEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest
                   EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()
