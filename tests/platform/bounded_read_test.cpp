// Reading a named file whose format bounds its size: what is not a regular
// file, or is larger than the bound, is refused before a byte is read.
#include "platform/bounded_read.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "platform/file_replace.h"
#include "support/temp_folder.h"

namespace tracciato {
namespace {

using test_support::TempFolder;

std::string refusal(const std::filesystem::path& path, uint64_t max_bytes) {
  try {
    read_bounded_file(path, max_bytes, "a scenario file");
  } catch (const IoError& e) {
    return e.what();
  }
  return "read";
}

TEST(BoundedRead, ReadsARegularFileUpToItsBound) {
  TempFolder folder;
  replace_file(folder / "a.dat", "0123456789");
  EXPECT_EQ(read_bounded_file(folder / "a.dat", 10, "a scenario file"), "0123456789");
  EXPECT_EQ(read_bounded_file(folder / "a.dat", 1000, "a scenario file"), "0123456789");
}

TEST(BoundedRead, RefusesWhatIsNotARegularFileOrIsTooLarge) {
  TempFolder folder;
  replace_file(folder / "a.dat", "0123456789");
  // A sparse 3 GB file: refused by its size, never read into memory.
  {
    std::FILE* f = open_file(folder / "big_linea.dat", "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    std::filesystem::resize_file(folder / "big_linea.dat", 3ull << 30);
  }
  struct {
    std::filesystem::path path;
    std::string says;
  } cases[] = {
      {folder.path(), "this is a folder, not a scenario file; give the path of a scenario file"},
      {folder / "a.dat", "10 bytes is larger than a scenario file can be (at most 9 bytes)"},
      {folder / "big_linea.dat",
       "3221225472 bytes is larger than a scenario file can be (at most 9 bytes)"},
#ifndef _WIN32
      {"/dev/zero",
       "this is a character device, not a scenario file; give the path of a scenario file"},
#endif
  };
  for (const auto& c : cases) {
    const std::string message = refusal(c.path, 9);
    EXPECT_NE(message.find(c.path.string()), std::string::npos) << message;
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
  }
}

#ifndef _WIN32
// Opening a pipe for reading blocks until a writer comes: it must be refused
// from a look at it, before it is opened.
TEST(BoundedRead, RefusesAPipeWithoutOpeningIt) {
  TempFolder folder;
  ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
  EXPECT_NE(refusal(folder / "pipe", 1000).find("this is a pipe, not a scenario file"),
            std::string::npos);
}
#endif

}  // namespace
}  // namespace tracciato
