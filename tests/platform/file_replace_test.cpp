#include "platform/file_replace.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

#include "platform/scratch_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tracciato {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

const std::string kName = "Tarvo_Belmira_7351.dat";

std::string reason(int error) { return std::generic_category().message(error); }

// Writes the first half of the bytes, then fails as a full disk does.
bool fill_disk_halfway(std::FILE* f, std::string_view bytes) {
  const std::string_view half = bytes.substr(0, bytes.size() / 2);
  std::fwrite(half.data(), 1, half.size(), f);
  std::fflush(f);
  errno = ENOSPC;
  return false;
}

class ReplaceFileTest : public testing::Test {
 protected:
  ScratchFolder folder;
  std::filesystem::path target = folder / kName;

  // Runs `replace` and returns the IoError it must throw.
  template <typename F>
  IoError expect_io_error(F replace) {
    try {
      replace();
    } catch (const IoError& e) {
      return e;
    }
    ADD_FAILURE() << "no IoError";
    return IoError("", "");
  }
};

TEST_F(ReplaceFileTest, LeavesExactlyTheNewBytes) {
  const std::string new_bytes("new\0scenario\r\n", 14);
  const struct {
    const char* what;
    std::optional<std::string> earlier;
  } cases[] = {
      {"no earlier file", std::nullopt},
      {"a longer earlier file", std::string(100000, 'x')},
      {"a shorter earlier file", std::string("ab")},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(target);
    if (c.earlier) folder.put(kName, *c.earlier);
    replace_file(target, new_bytes);
    EXPECT_EQ(folder.get(kName), new_bytes) << c.what;
    EXPECT_THAT(folder.names(), ElementsAre(kName)) << c.what;
  }
}

TEST_F(ReplaceFileTest, AWriteFailingHalfwayKeepsTheEarlierFileWhole) {
  const std::string earlier = "the earlier scenario, whole";
  folder.put(kName, earlier);

  const IoError e =
      expect_io_error([&] { replace_file(target, std::string(4096, 'n'), fill_disk_halfway); });

  EXPECT_EQ(std::string(e.what()), target.string() + ": " + reason(ENOSPC));
  EXPECT_EQ(e.path(), target);
  EXPECT_EQ(folder.get(kName), earlier);
  EXPECT_THAT(folder.names(), ElementsAre(kName));  // no temporary file left
}

TEST_F(ReplaceFileTest, AWriteFailingHalfwayWithNoEarlierFileLeavesNothing) {
  expect_io_error([&] { replace_file(target, "new bytes", fill_disk_halfway); });
  EXPECT_THAT(folder.names(), IsEmpty());
}

TEST_F(ReplaceFileTest, ASinkThatThrowsLeavesNoTemporaryFile) {
  folder.put(kName, "earlier");
  const auto throwing = [](std::FILE* f, std::string_view bytes) -> bool {
    std::fwrite(bytes.data(), 1, bytes.size() / 2, f);
    throw std::runtime_error("sink gave up");
  };
  EXPECT_THROW(replace_file(target, "new bytes", throwing), std::runtime_error);
  EXPECT_EQ(folder.get(kName), "earlier");
  EXPECT_THAT(folder.names(), ElementsAre(kName));
}

TEST_F(ReplaceFileTest, AFailureWithoutAReasonIsNotReportedAsSuccess) {
  const auto silent = [](std::FILE*, std::string_view) {
    errno = 0;
    return false;
  };
  const IoError e = expect_io_error([&] { replace_file(target, "x", silent); });
  EXPECT_EQ(std::string(e.what()), target.string() + ": " + reason(EIO));
}

TEST_F(ReplaceFileTest, FilesNamedLikeTheTemporaryAreLeftAlone) {
  folder.put(kName + ".tmp", "someone else's");
  folder.put(kName + ".tmp1", "left by a killed run");
  replace_file(target, "new");
  EXPECT_EQ(folder.get(kName), "new");
  EXPECT_EQ(folder.get(kName + ".tmp"), "someone else's");
  EXPECT_EQ(folder.get(kName + ".tmp1"), "left by a killed run");
  EXPECT_THAT(folder.names(), ElementsAre(kName, kName + ".tmp", kName + ".tmp1"));
}

// Windows reports a file standing where a folder of the path should be as a
// missing path.
#ifdef _WIN32
constexpr int kFileInThePathError = ENOENT;
#else
constexpr int kFileInThePathError = ENOTDIR;
#endif

TEST_F(ReplaceFileTest, AFolderThatCannotTakeTheFileIsAnIoError) {
  folder.put("plain_file", "");
  const struct {
    const char* what;
    std::filesystem::path path;
    int error;
  } cases[] = {
      {"missing folder", folder / "missing" / kName, ENOENT},
      {"folder is a file", folder / "plain_file" / kName, kFileInThePathError},
  };
  for (const auto& c : cases) {
    const IoError e = expect_io_error([&] { replace_file(c.path, "bytes"); });
    EXPECT_EQ(std::string(e.what()), c.path.string() + ": " + reason(c.error)) << c.what;
  }
}

TEST_F(ReplaceFileTest, ARenameThatFailsLeavesNoTemporaryFile) {
  std::filesystem::create_directory(target);  // a folder stands where the file goes
  const IoError e = expect_io_error([&] { replace_file(target, "bytes"); });
  EXPECT_EQ(e.path(), target);
  EXPECT_THAT(folder.names(), ElementsAre(kName));
  EXPECT_TRUE(std::filesystem::is_directory(target));
}

#ifndef _WIN32
TEST_F(ReplaceFileTest, AReadOnlyFolderIsAnIoError) {
  folder.put(kName, "earlier");
  ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);
  if (access(folder.path().c_str(), W_OK) == 0) {
    GTEST_SKIP() << "this user may write into read-only folders";
  }
  const IoError e = expect_io_error([&] { replace_file(target, "bytes"); });
  EXPECT_EQ(std::string(e.what()), target.string() + ": " + reason(EACCES));
  EXPECT_EQ(folder.get(kName), "earlier");
}
#endif

TEST_F(ReplaceFileTest, ReadFileOfAMissingFileNamesIt) {
  const IoError e = expect_io_error([&] { read_file(target); });
  EXPECT_EQ(std::string(e.what()), target.string() + ": " + reason(ENOENT));
}

}  // namespace
}  // namespace tracciato
