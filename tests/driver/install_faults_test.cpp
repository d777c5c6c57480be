// A disk that fills at any point of an install run: the folder keeps the
// earlier scenario whole (or stays empty), holds no temporary or description
// file, and the message names the file and says to free some space.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include "driver/failure_message.h"
#include "driver/file_names.h"
#include "driver/form1.h"
#include "support/temp_folder.h"

namespace tracciato {
namespace {

using test_support::TempFolder;
using Files = std::map<std::string, std::string>;

class QuietDesktop final : public Desktop {
 public:
  void show_waiting_window() override {}
  void show_message(std::string_view, std::string_view) override {}
};

struct FaultPoint {
  FileStep step;
  std::filesystem::path path;  // within the run's folder; "." for the folder itself
};

const char* step_name(FileStep step) {
  switch (step) {
    case FileStep::kLock:
      return "lock";
    case FileStep::kRecord:
      return "record";
    case FileStep::kDropEarlier:
      return "drop earlier";
    case FileStep::kDropRecord:
      return "drop record";
    case FileStep::kCreate:
      return "create";
    case FileStep::kWrite:
      return "write";
    case FileStep::kFlush:
      return "flush";
    case FileStep::kClose:
      return "close";
    case FileStep::kSetAside:
      return "set aside";
    case FileStep::kRename:
      return "rename";
    case FileStep::kFlushFolder:
      return "flush folder";
  }
  return "?";
}

// Every point at which a clean run asks the file layer, in order, and the
// files that run leaves.
std::vector<FaultPoint> points_of_a_clean_run(bool over_an_earlier_set, Files& left) {
  TempFolder folder;
  if (over_an_earlier_set) {
    QuietDesktop desktop;
    Form1(desktop, folder.path()).load();
  }
  std::vector<FaultPoint> points;
  QuietDesktop desktop;
  Form1 form(desktop, folder.path(), embedded_install_scenario(),
             [&points, &folder](FileStep step, const std::filesystem::path& path) {
               points.push_back({step, path.lexically_relative(folder.path())});
               return 0;
             });
  form.load();
  left = folder.files();
  return points;
}

// The six files of an earlier run: this run's own, each with one value
// changed where the file's shape stays that of its kind.
Files earlier_set(const Files& new_set) {
  const ScenarioFileNames names = scenario_file_names("Tarvo_Belmira", "7351");
  Files files = new_set;
  for (const std::string& name : {names.notes, names.slowdown_order, names.timetable_sheet}) {
    files[name] = "earlier " + name + "\r\n";
  }
  files[names.track_file][10] ^= 1;           // inside the first real of the polyline
  files[names.item_file][1] ^= 1;             // num_1 of the unused entry 0
  files[names.cell_file][15 * 10 + 14] ^= 1;  // the adhesion of cell 10
  return files;
}

// Steps taken once the new set is in place: failing there, the run has still
// installed it, and what it could not remove is removed by the next run.
bool after_the_set_is_in_place(FileStep step) {
  return step == FileStep::kDropEarlier || step == FileStep::kDropRecord;
}

void check_every_fault_point(bool over_an_earlier_set) {
  Files new_set;
  const std::vector<FaultPoint> points = points_of_a_clean_run(over_an_earlier_set, new_set);
  ASSERT_EQ(new_set.size(), 6u);
  const Files before = over_an_earlier_set ? earlier_set(new_set) : Files{};
  // Each kind of step is reached, or the table below proves less than it says.
  std::vector<FileStep> steps = {FileStep::kLock,   FileStep::kCreate,      FileStep::kWrite,
                                 FileStep::kFlush,  FileStep::kClose,       FileStep::kRecord,
                                 FileStep::kRename, FileStep::kFlushFolder, FileStep::kDropRecord};
  if (over_an_earlier_set) {
    steps.push_back(FileStep::kSetAside);
    steps.push_back(FileStep::kDropEarlier);
  }
  for (const FileStep step : steps) {
    EXPECT_TRUE(std::any_of(points.begin(), points.end(), [step](const FaultPoint& p) {
      return p.step == step;
    })) << step_name(step);
  }

  for (size_t failing = 0; failing < points.size(); ++failing) {
    const FaultPoint& point = points[failing];
    SCOPED_TRACE(std::to_string(failing) + ": " + step_name(point.step) + " " +
                 point.path.filename().string());
    TempFolder folder;
    for (const auto& [name, bytes] : before) replace_file(folder / name, bytes);
    size_t asked = 0;
    QuietDesktop desktop;
    Form1 form(desktop, folder.path(), embedded_install_scenario(),
               [&asked, failing](FileStep, const std::filesystem::path&) {
                 return asked++ == failing ? ENOSPC : 0;
               });
    if (after_the_set_is_in_place(point.step)) {
      form.load();
      Form1(desktop, folder.path()).load();
      EXPECT_EQ(folder.files(), new_set);
      continue;
    }
    try {
      form.load();
      ADD_FAILURE() << "the run reported success";
    } catch (const IoError& e) {
      EXPECT_EQ(e.path().lexically_relative(folder.path()), point.path);
      const std::string message = install_failure_message(e);
      EXPECT_EQ(message.rfind(" cannot write " + e.path().string() + ": ", 0), 0u) << message;
      EXPECT_NE(message.find("; free some space in "), std::string::npos) << message;
    }
    EXPECT_EQ(folder.files(), before);
  }
}

TEST(InstallFaults, AFullDiskAtAnyPointLeavesTheEarlierSetWhole) { check_every_fault_point(true); }

TEST(InstallFaults, AFullDiskAtAnyPointOfAFirstRunLeavesNothing) { check_every_fault_point(false); }

}  // namespace
}  // namespace tracciato
