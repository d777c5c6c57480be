# `cmake --install` and CPack: the author's tool in bin/, the install stubs in
# lib/tracciato/ (where the tool looks for them), the documentation in
# share/doc/tracciato/. On Windows the stub sits beside tracciato.exe.
include(GNUInstallDirs)

# Always lib/, never a multiarch libdir: the stub is no library, and the tool
# looks for it at ../lib/tracciato from its own folder.
if(WIN32)
  set(TRACCIATO_STUB_DIR ${CMAKE_INSTALL_BINDIR})
else()
  set(TRACCIATO_STUB_DIR lib/tracciato)
endif()

install(TARGETS tracciato RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS tracciato-stub RUNTIME DESTINATION ${TRACCIATO_STUB_DIR})
if(TRACCIATO_WINDOWS_STUB_FILE)
  install(PROGRAMS ${TRACCIATO_WINDOWS_STUB_FILE} DESTINATION ${TRACCIATO_STUB_DIR})
endif()
install(FILES README.md docs/file_formats.md docs/description_format.md
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME tracciato)
set(CPACK_PACKAGE_VENDOR "tracciato")
set(CPACK_PACKAGE_CONTACT "tracciato maintainers <tracciato@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Railway scenario compiler and self-installing scenario packages for a train-driving simulator")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME tracciato_${PROJECT_VERSION}_windows)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  # Both programs carry their own C++ runtime; the window module is not installed.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6")
  # Only `view --serve` loads it, through the module the tool carries.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libcpp-httplib0.11")
endif()
include(CPack)
