// The self-installing scenario package: run beside the simulator's files, it
// writes the scenario's documents and binary files into its own folder.
#include <cstdio>
#include <exception>

#include "driver/form1.h"
#include "platform/platform.h"

int main() {
  using namespace tracciato;
  std::unique_ptr<Desktop> desktop = open_desktop();
  try {
    Form1 form(*desktop, program_folder());
    form.load();
    return 0;
  } catch (const ErrorStop&) {
    return 1;  // the message box has been shown and closed
  } catch (const std::exception& e) {
    desktop->show_message(kApplicationTitle, e.what());
    return 2;
  }
}
