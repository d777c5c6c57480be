#include "platform/staged_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/scratch_folder.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace tracciato {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;

#ifndef _WIN32
// Files may grow no larger than `bytes` while it lives, as on a disk that
// fills: a write beyond fails with EFBIG rather than ending the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &earlier_);
    earlier_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = earlier_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &earlier_);
    std::signal(SIGXFSZ, earlier_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit earlier_{};
  void (*earlier_handler_)(int) = nullptr;
};

// A staged file sets out for the disk as soon as it is complete, long before
// the set is committed; a system refusing its bytes then must still fail the
// commit, and leave the earlier set as it was, not commit a file cut short.
TEST(StagedReplacement, BytesTheSystemRefusesOnTheirWayToTheDiskFailTheCommit) {
  ScratchFolder folder;
  folder.put("Tarvo_Belmira_7351_note.txt", "the earlier notes");
  folder.put("Tarvo_Belmira_7351.sim", "the earlier items");
  std::string message;
  {
    StagedReplacement set(folder.path());
    {
      const FileSizeLimit limit(1000);
      // Fits the stream's buffer: the bytes first meet the system when the
      // file sets out for the disk.
      set.stage(folder / "Tarvo_Belmira_7351_note.txt", std::string(3000, 'n'));
    }
    set.stage(folder / "Tarvo_Belmira_7351.sim", "new items");
    try {
      set.commit();
    } catch (const IoError& e) {
      message = e.what();
    }
  }
  EXPECT_THAT(message, HasSubstr("Tarvo_Belmira_7351_note.txt"));
  EXPECT_THAT(message, HasSubstr(std::generic_category().message(EFBIG)));
  EXPECT_EQ(folder.get("Tarvo_Belmira_7351_note.txt"), "the earlier notes");
  EXPECT_EQ(folder.get("Tarvo_Belmira_7351.sim"), "the earlier items");
  EXPECT_THAT(folder.names(), ElementsAre("Tarvo_Belmira_7351.sim", "Tarvo_Belmira_7351_note.txt"));
}
#endif

// A file written in many pieces, as the track file is, sets out for the disk
// on the way; what reaches its name is every piece, in order.
TEST(StagedReplacement, AFileWrittenInManyPiecesArrivesWhole) {
  ScratchFolder folder;
  std::string expected;
  {
    StagedReplacement set(folder.path());
    StagedFile& file = set.stage(folder / "Tarvo_Belmira_linea.dat");
    for (int piece = 0; piece < 100; ++piece) {
      const std::string bytes(size_t{64} << 10, static_cast<char>('a' + piece % 26));
      file.append(bytes);
      expected += bytes;
    }
    set.commit();
  }
  EXPECT_EQ(folder.get("Tarvo_Belmira_linea.dat"), expected);
  EXPECT_THAT(folder.names(), ElementsAre("Tarvo_Belmira_linea.dat"));
}

// Killed runs leave temporary files; a hundred of them beside every name
// (as many as the names tried) neither block a run nor stay after it. Files
// of names a run never makes, as an earlier file kept aside by hand, are
// someone else's and stay.
TEST(StagedReplacement, TheTemporaryFilesOfKilledRunsNeitherBlockNorStay) {
  ScratchFolder folder;
  const std::vector<std::string> names = {"Valle_42.dat", "Valle_42.sim"};
  std::vector<std::string> expected;
  for (const std::string& name : names) {
    folder.put(name, "earlier " + name);
    expected.push_back(name);
    for (int n = 0; n < 100; ++n) {
      folder.put(name + ".tmp" + (n == 0 ? "" : std::to_string(n)), "left by a killed run");
      folder.put(name + ".old" + (n == 0 ? "" : std::to_string(n)), "kept by hand");
      expected.push_back(name + ".old" + (n == 0 ? "" : std::to_string(n)));
    }
  }
  folder.put("Valle_42.dat.earlier", "kept by hand too");
  expected.push_back("Valle_42.dat.earlier");
  {
    StagedReplacement set(folder.path());
    for (const std::string& name : names) set.stage(folder / name, "new " + name);
    set.commit();
  }
  for (const std::string& name : names) EXPECT_EQ(folder.get(name), "new " + name);
  EXPECT_EQ(folder.get("Valle_42.dat.earlier"), "kept by hand too");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(folder.names(), expected);
}

// What stands at a file's name and is not a file this program writes is
// refused before anything is staged or moved: the folder stays as it was.
TEST(StagedReplacement, RefusesAFolderOrALinkAtAName) {
  ScratchFolder folder;
  std::filesystem::create_directory(folder / "Valle_42.dat");
  folder.put("Valle_42.dat/the user's file", "mine");
  folder.put("elsewhere.sim", "someone's");
  std::error_code ec;
  std::filesystem::create_symlink(folder / "elsewhere.sim", folder / "Valle_42.sim", ec);
  const struct {
    const char* name;
    const char* says;
  } cases[] = {
      {"Valle_42.dat", "a folder has this name, where the file goes; nothing was replaced"},
      {"Valle_42.sim", "this is a symbolic link"},
  };
  for (const auto& c : cases) {
    if (ec && std::string(c.name) == "Valle_42.sim") continue;  // no links here
    const std::vector<std::string> before = folder.names();
    StagedReplacement set(folder.path());
    try {
      set.stage(folder / "Valle_42_note.txt", "notes");
      set.stage(folder / c.name, "new");
      set.commit();
      ADD_FAILURE() << c.name << " was replaced";
    } catch (const TargetRefused& e) {
      EXPECT_THAT(e.what(), HasSubstr(c.says)) << c.name;
    }
    set.abandon();
    EXPECT_EQ(folder.names(), before) << c.name;
  }
  EXPECT_EQ(folder.get("Valle_42.dat/the user's file"), "mine");
  EXPECT_EQ(folder.get("elsewhere.sim"), "someone's");
}

}  // namespace
}  // namespace tracciato
