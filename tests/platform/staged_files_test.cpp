#include "platform/staged_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace tracciato
