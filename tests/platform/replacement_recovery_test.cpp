// A replacement killed between any two of its renames: the next run finds
// the record and leaves one whole set, the new one when every new file is
// whole, the earlier one otherwise, and nothing else.
#include "platform/replacement_recovery.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/crc32.h"
#include "platform/file_replace.h"
#include "platform/folder_lock.h"
#include "platform/replacement_record.h"
#include "platform/scratch_folder.h"

namespace tracciato {
namespace {

using testing::HasSubstr;
using Files = std::map<std::string, std::string>;

const std::vector<std::string> kNames = {"Valle_42_note.txt", "Valle_linea.dat", "Valle_42.dat"};

std::string earlier_bytes(const std::string& name) { return "earlier " + name; }
std::string new_bytes(const std::string& name) { return "the new bytes of " + name; }

Files set_of(bool new_set, bool first_run) {
  Files files;
  if (first_run && !new_set) return files;
  for (const std::string& name : kNames)
    files[name] = new_set ? new_bytes(name) : earlier_bytes(name);
  return files;
}

Files files_in(const ScratchFolder& folder) {
  Files files;
  for (const std::string& name : folder.names()) files[name] = folder.get(name);
  return files;
}

ReplacementRecord record_of_the_set(bool first_run) {
  ReplacementRecord record;
  for (const std::string& name : kNames) {
    const std::string bytes = new_bytes(name);
    record.files.push_back(
        {name, name + ".tmp", first_run ? "" : name + ".earlier", bytes.size(), crc32(bytes)});
  }
  return record;
}

// The folder as a run leaves it when killed after `renames` of its renames
// (each file: set the earlier one aside, then rename the new one in), with
// the record on the disk.
void lay_out_a_killed_run(const ScratchFolder& folder, int renames, bool first_run) {
  for (const std::string& name : kNames) {
    if (!first_run) folder.put(name, earlier_bytes(name));
    folder.put(name + ".tmp", new_bytes(name));
  }
  folder.put(std::string(kReplacementRecordName),
             encode_replacement_record(record_of_the_set(first_run)));
  int done = 0;
  for (const std::string& name : kNames) {
    if (!first_run && done++ < renames) {
      std::filesystem::rename(folder / name, folder / (name + ".earlier"));
    }
    if (done++ < renames) std::filesystem::rename(folder / (name + ".tmp"), folder / name);
  }
}

TEST(ReplacementRecovery, LeavesOneWholeSetWhereverTheRunWasKilled) {
  for (const bool first_run : {false, true}) {
    const int renames = first_run ? 3 : 6;
    for (int done = 0; done <= renames; ++done) {
      for (const bool last_new_file_cut_short : {false, true}) {
        // A new file cut short can only be one not yet renamed in.
        if (last_new_file_cut_short && done == renames) continue;
        SCOPED_TRACE(std::string(first_run ? "first run, " : "") + std::to_string(done) +
                     " renames done" +
                     (last_new_file_cut_short ? ", last new file cut short" : ""));
        ScratchFolder folder;
        lay_out_a_killed_run(folder, done, first_run);
        if (last_new_file_cut_short) folder.put(kNames.back() + ".tmp", "the new");

        const FolderLock lock(folder.path());
        const std::optional<std::string> said = finish_interrupted_replacement(folder.path());

        ASSERT_TRUE(said.has_value());
        Files left = files_in(folder);
        left.erase(std::string(kFolderLockName));
        if (last_new_file_cut_short) {
          EXPECT_EQ(left, set_of(false, first_run));
          EXPECT_THAT(*said, HasSubstr("the new Valle_42.dat was not whole, so the earlier files "
                                       "were put back"));
        } else {
          EXPECT_EQ(left, set_of(true, first_run));
          EXPECT_THAT(*said,
                      HasSubstr("every new file was whole, so the replacement was finished"));
        }
      }
    }
  }
}

TEST(ReplacementRecovery, ARecordCutShortMeansNoRenameHadBegun) {
  ScratchFolder folder;
  for (const std::string& name : kNames) folder.put(name, earlier_bytes(name));
  const std::string record = encode_replacement_record(record_of_the_set(false));
  folder.put(std::string(kReplacementRecordName), record.substr(0, record.size() / 2));
  const FolderLock lock(folder.path());
  const auto said = finish_interrupted_replacement(folder.path());
  ASSERT_TRUE(said.has_value());
  EXPECT_THAT(*said, HasSubstr("it had replaced no file"));
  Files left = files_in(folder);
  left.erase(std::string(kFolderLockName));
  EXPECT_EQ(left, set_of(false, false));
}

TEST(ReplacementRecovery, AFolderWithoutARecordIsLeftAsItIs) {
  ScratchFolder folder;
  folder.put("Valle_42.dat", "cells");
  EXPECT_EQ(finish_interrupted_replacement(folder.path()), std::nullopt);
  EXPECT_EQ(folder.get("Valle_42.dat"), "cells");
}

TEST(ReplacementRecord, ReadsBackWhatItWroteAndNothingElse) {
  const ReplacementRecord record = record_of_the_set(false);
  const std::string bytes = encode_replacement_record(record);
  const auto read = decode_replacement_record(bytes);
  ASSERT_TRUE(read.has_value());
  ASSERT_EQ(read->files.size(), record.files.size());
  for (size_t i = 0; i < record.files.size(); ++i) {
    EXPECT_EQ(read->files[i].target, record.files[i].target);
    EXPECT_EQ(read->files[i].temporary, record.files[i].temporary);
    EXPECT_EQ(read->files[i].earlier, record.files[i].earlier);
    EXPECT_EQ(read->files[i].size, record.files[i].size);
    EXPECT_EQ(read->files[i].crc, record.files[i].crc);
  }

  // Every cut and every changed bit is no record at all.
  for (size_t length = 0; length < bytes.size(); ++length) {
    EXPECT_FALSE(decode_replacement_record(bytes.substr(0, length))) << "cut at " << length;
  }
  for (size_t bit = 0; bit < bytes.size() * 8; bit += 5) {
    std::string flipped = bytes;
    flipped[bit / 8] ^= static_cast<char>(1 << (bit % 8));
    EXPECT_FALSE(decode_replacement_record(flipped)) << "bit " << bit;
  }
  // Nor does a record whose names reach outside its folder, whole as it is.
  for (const char* name : {"../Valle_42.dat", "sub/Valle_42.dat", "..", "C:Valle"}) {
    ReplacementRecord outside = record;
    outside.files[1].target = name;
    EXPECT_FALSE(decode_replacement_record(encode_replacement_record(outside))) << name;
  }
}

TEST(FolderLock, OneRunAtATimeWritesInAFolder) {
  ScratchFolder folder;
  {
    const FolderLock held(folder.path());
    try {
      const FolderLock second(folder.path(), std::chrono::milliseconds(50));
      ADD_FAILURE() << "two runs held the lock";
    } catch (const IoError& e) {
      EXPECT_THAT(e.what(), HasSubstr("another run is writing a scenario in this folder"));
    }
  }
  const FolderLock after(folder.path(), std::chrono::milliseconds(50));
  EXPECT_THAT(folder.names(), testing::ElementsAre(std::string(kFolderLockName)));
}

}  // namespace
}  // namespace tracciato
