# nlohmann-json for the cross build (header-only; see header_only_package.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/header_only_package.cmake)
tracciato_header_only_package(nlohmann_json::nlohmann_json nlohmann)
