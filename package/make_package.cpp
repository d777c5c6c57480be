// Builds a package at build time: the install stub followed by the embedded
// scenario's payload. Used for Tarvo_Belmira_7351, so that the embedded
// scenario installs through the very path every author's package takes.
//
// Usage: make_package STUB OUTPUT
#include <cstdio>
#include <exception>
#include <filesystem>

#include "package/package_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_package STUB OUTPUT\n");
    return 2;
  }
  try {
    tracciato::write_package(argv[1], tracciato::embedded_install_scenario(), argv[2]);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_package: %s\n", e.what());
    return 1;
  }
}
