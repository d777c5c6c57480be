#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <string>

#include "output/scenario_output.h"
#include "platform/file_replace.h"
#include "platform/scratch_folder.h"

namespace tracciato {
namespace {

using testing::ElementsAre;

// A small sealed scenario, with or without its track polyline.
ScenarioModel sealed_scenario(int32_t track_flag) {
  ScenarioModel model;
  model.line_name = "Tarvo_Belmira";
  model.train_number = "7351";
  model.track_flag = track_flag;
  model.item_table[kLineIdentity].name = model.line_name;
  model.item_table[kTrainIdentity].name = model.train_number;
  create_route(model, 1000);
  if (track_flag != 0) model.track_points.write_start({0, 0}, {0, 1});
  EXPECT_EQ(seal_scenario(model), SealResult::kSealed);
  return model;
}

// The files of an earlier run of `model`'s names: its own, each with one
// value changed where the file's shape stays that of its kind.
void put_earlier_files(const ScratchFolder& folder, const ScenarioModel& model) {
  std::string track = encode_track_file(model);
  track[2] ^= 1;
  std::string items = encode_item_file(model);
  items[1] ^= 1;
  std::string cells = encode_cell_file(model);
  cells[15 * 3 + 14] ^= 1;
  folder.put("Tarvo_Belmira_linea.dat", track);
  folder.put("Tarvo_Belmira_7351.sim", items);
  folder.put("Tarvo_Belmira_7351.dat", cells);
}

TEST(WriteScenarioFiles, WritesTrackItemAndCellFiles) {
  ScratchFolder folder;
  const ScenarioModel model = sealed_scenario(1);
  // An earlier, longer run.
  folder.put("Tarvo_Belmira_7351.dat", encode_cell_file(model) + std::string(15 * 3000, '\0'));

  EXPECT_THAT(
      write_scenario_files(folder.path(), model).written,
      ElementsAre("Tarvo_Belmira_linea.dat", "Tarvo_Belmira_7351.sim", "Tarvo_Belmira_7351.dat"));
  EXPECT_EQ(folder.get("Tarvo_Belmira_linea.dat"), encode_track_file(model));
  EXPECT_EQ(folder.get("Tarvo_Belmira_7351.sim"), encode_item_file(model));
  EXPECT_EQ(folder.get("Tarvo_Belmira_7351.dat"), encode_cell_file(model));
  EXPECT_THAT(folder.names(), ElementsAre("Tarvo_Belmira_7351.dat", "Tarvo_Belmira_7351.sim",
                                          "Tarvo_Belmira_linea.dat"));
}

TEST(WriteScenarioFiles, WithoutTrackFlagAnEarlierTrackFileIsLeftUntouched) {
  ScratchFolder folder;
  folder.put("Tarvo_Belmira_linea.dat", "earlier track");
  const ScenarioModel model = sealed_scenario(0);

  EXPECT_THAT(write_scenario_files(folder.path(), model).written,
              ElementsAre("Tarvo_Belmira_7351.sim", "Tarvo_Belmira_7351.dat"));
  EXPECT_EQ(folder.get("Tarvo_Belmira_linea.dat"), "earlier track");
  EXPECT_THAT(folder.names(), ElementsAre("Tarvo_Belmira_7351.dat", "Tarvo_Belmira_7351.sim",
                                          "Tarvo_Belmira_linea.dat"));
}

TEST(WriteScenarioFiles, AMissingFolderIsAnIoErrorBeforeAnyFile) {
  ScratchFolder folder;
  const std::filesystem::path missing = folder / "missing";
  try {
    write_scenario_files(missing, sealed_scenario(1));
    ADD_FAILURE() << "no IoError";
  } catch (const IoError& e) {
    EXPECT_EQ(e.path(), missing / "tracciato.lock");
  }
}

// The fault a compile must never leave: the new track file renamed in, then
// the cell file's rename failing, so a new track stands beside an old cell
// file. The earlier three are all put back.
TEST(WriteScenarioFiles, ARenameFailingHalfwayPutsTheEarlierFilesBack) {
  ScratchFolder folder;
  const ScenarioModel model = sealed_scenario(1);
  put_earlier_files(folder, model);
  const std::string names[] = {"Tarvo_Belmira_7351.dat", "Tarvo_Belmira_7351.sim",
                               "Tarvo_Belmira_linea.dat"};
  std::map<std::string, std::string> earlier;
  for (const std::string& name : names) earlier[name] = folder.get(name);
  const FileFaults cell_file_rename_fails = [](FileStep step, const std::filesystem::path& path) {
    return step == FileStep::kRename && path.filename() == "Tarvo_Belmira_7351.dat" ? ENOSPC : 0;
  };
  EXPECT_THROW(write_scenario_files(folder.path(), model, cell_file_rename_fails), IoError);
  EXPECT_THAT(folder.names(), ElementsAre(names[0], names[1], names[2]));
  for (const std::string& name : names) EXPECT_EQ(folder.get(name), earlier[name]) << name;
}

}  // namespace
}  // namespace tracciato
