// The generic install program: run beside the simulator's files, it reads the
// scenario appended to its own file and installs it into its own folder.
// Every package is this program followed by one scenario's payload.
#include <cstdio>
#include <exception>
#include <variant>

#include "driver/failure_message.h"
#include "driver/form1.h"
#include "package/payload.h"
#include "platform/platform.h"

int main() {
  using namespace tracciato;
  std::unique_ptr<Desktop> desktop = open_desktop();
  std::string title = "tracciato";
  try {
    const std::filesystem::path self = program_file();
    title = self.stem().string();
    auto contents = read_package(self);
    if (const auto* damage = std::get_if<PackageDamage>(&contents)) {
      desktop->show_message(title, damaged_package_message(damage->reason));
      return 3;
    }
    InstallScenario scenario = std::get<PackageContents>(std::move(contents)).scenario;
    Form1 form(*desktop, self.parent_path(), std::move(scenario));
    title = form.title();
    // A recovery is said on standard error, as the run goes on whatever
    // happens next.
    struct SayRecovery {
      const Form1& form;
      ~SayRecovery() {
        if (form.recovered()) std::fprintf(stderr, "%s\n", form.recovered()->c_str());
      }
    } say{form};
    form.load();
    return 0;
  } catch (const ErrorStop&) {
    return 1;  // the message box has been shown and closed
  } catch (const std::exception& e) {
    desktop->show_message(title, install_failure_message(e));
    return 2;
  }
}
