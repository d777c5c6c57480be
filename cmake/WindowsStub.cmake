# The Windows install stub, cross-compiled from a Linux build, so that an
# author on Linux can make packages for the simulator's users on Windows.
# A separate MinGW-w64 build of the same sources builds only the stub; the
# stub lands beside the tool (build/<preset>/tools/tracciato-stub.exe).
if(NOT TRACCIATO_WINDOWS_STUB OR WIN32)
  return()
endif()

find_program(TRACCIATO_MINGW_CXX x86_64-w64-mingw32-g++-posix)
if(NOT TRACCIATO_MINGW_CXX)
  message(FATAL_ERROR "TRACCIATO_WINDOWS_STUB needs the MinGW-w64 cross compiler "
                      "(apt-get install g++-mingw-w64-x86-64)")
endif()

find_program(TRACCIATO_MINGW_STRIP x86_64-w64-mingw32-strip REQUIRED)

include(ExternalProject)
set(windows_stub_build ${PROJECT_BINARY_DIR}/windows-stub)
ExternalProject_Add(windows_stub
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${windows_stub_build}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DTRACCIATO_TESTS=OFF
    -DTRACCIATO_WARNINGS_AS_ERRORS=${TRACCIATO_WARNINGS_AS_ERRORS}
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${windows_stub_build} --target tracciato-stub
  # Stripped here by MinGW's own strip: the host's, which CPack uses, cannot
  # strip a PE file.
  INSTALL_COMMAND ${TRACCIATO_MINGW_STRIP} -o ${PROJECT_BINARY_DIR}/tools/tracciato-stub.exe
    ${windows_stub_build}/tools/tracciato-stub.exe
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${PROJECT_BINARY_DIR}/tools/tracciato-stub.exe)
set(TRACCIATO_WINDOWS_STUB_FILE ${PROJECT_BINARY_DIR}/tools/tracciato-stub.exe)
