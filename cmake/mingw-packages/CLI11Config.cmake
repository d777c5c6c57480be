# CLI11 for the cross build (header-only; see header_only_package.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/header_only_package.cmake)
tracciato_header_only_package(CLI11::CLI11 CLI)
