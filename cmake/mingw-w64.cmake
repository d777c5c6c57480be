# Cross-compiling for 64-bit Windows with Debian's MinGW-w64.
#
# The -posix thread variant, since the -win32 one of GCC 12 has no std::mutex
# (GoogleTest needs it). Everything links statically, so each .exe runs with
# nothing beside it. Tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TRACCIATO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRACCIATO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRACCIATO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TRACCIATO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TRACCIATO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian's header-only libraries serve the cross build too, but through their
# own folders only (cmake/mingw-packages).
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-packages)
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-packages)

# ctest runs the test programs (and GoogleTest's discovery) through Wine.
# The wrapper sets up the project's Wine prefix first.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
