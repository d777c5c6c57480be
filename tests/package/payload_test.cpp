// The payload round trip, and every way a package can arrive damaged.
#include "package/payload.h"

#include <gtest/gtest.h>

#include <variant>

#include "documents/document.h"

namespace tracciato {
namespace {

const std::string kStub =
    "\x7F"
    "ELF-the-install-program";

InstallScenario small_scenario() {
  return {"Altra_Linea", "42", {"line\r\n", "train\r\n", "note\r\n", "", "sheet\r\nrow\r\n"}};
}

TEST(Payload, ReadsBackTheScenarioAndTheStubsPlatform) {
  const std::string package = kStub + encode_payload(kStub, small_scenario());
  auto contents = decode_package(package);
  ASSERT_TRUE(std::holds_alternative<PackageContents>(contents))
      << std::get<PackageDamage>(contents).reason;
  const auto& c = std::get<PackageContents>(contents);
  EXPECT_EQ(c.scenario.line_name, "Altra_Linea");
  EXPECT_EQ(c.scenario.train_number, "42");
  EXPECT_EQ(c.scenario.documents, small_scenario().documents);
  EXPECT_EQ(c.stub_size, kStub.size());
  EXPECT_EQ(stub_platform(c.stub_start), "Linux");
  EXPECT_EQ(stub_platform("MZ\x90"), "Windows");
}

TEST(Payload, TheEmbeddedScenarioTravelsWhole) {
  const InstallScenario embedded = embedded_install_scenario();
  auto contents = decode_package(kStub + encode_payload(kStub, embedded));
  ASSERT_TRUE(std::holds_alternative<PackageContents>(contents));
  EXPECT_EQ(std::get<PackageContents>(contents).scenario.documents, embedded.documents);
}

TEST(Payload, ADamagedPackageIsRecognisedWhateverHappenedToIt) {
  const std::string good = kStub + encode_payload(kStub, small_scenario());
  std::string altered = good;
  altered[kStub.size() + 20] ^= 0x01;
  std::string altered_program = good;
  altered_program[5] ^= 0x04;
  std::string altered_length = good;
  altered_length[good.size() - kTrailerSize] ^= 0x01;
  std::string new_version = good;
  new_version[good.size() - 12] = 3;
  const std::string bad_name = kStub + encode_payload(kStub, {"../up", "1", {}});
  const std::string replaced_start = "ab" + good.substr(2);  // same length, other bytes
  const struct {
    const char* what;
    std::string bytes;
    const char* reason_part;
  } cases[] = {
      {"one payload byte altered", altered, "checksum"},
      {"one byte of the install program altered", altered_program, "checksum"},
      {"the payload's length altered", altered_length, "checksum"},
      {"two bytes of the program replaced", replaced_start, "checksum"},
      {"cut short by a byte", good.substr(0, good.size() - 1), "trailer"},
      {"cut in half", good.substr(0, good.size() / 2), "trailer"},
      {"cut at its start", good.substr(3), "bytes long, not the"},
      {"a byte added in front", "x" + good, "bytes long, not the"},
      {"no payload at all", kStub, "trailer"},
      {"empty file", "", "trailer"},
      {"unknown version", new_version, "version 3"},
      {"a name that leaves the folder", bad_name, "names"},
  };
  for (const auto& c : cases) {
    auto contents = decode_package(c.bytes);
    ASSERT_TRUE(std::holds_alternative<PackageDamage>(contents)) << c.what;
    EXPECT_NE(std::get<PackageDamage>(contents).reason.find(c.reason_part), std::string::npos)
        << c.what << ": " << std::get<PackageDamage>(contents).reason;
  }
}

TEST(PortableName, RefusesWhatCannotNameAFileOnWindows) {
  const struct {
    const char* name;
    bool usable;
  } cases[] = {
      {"Tarvo_Belmira", true}, {"7351", true},   {"Linea Città", true}, {"", false},
      {"a/b", false},          {"a\\b", false},  {"a:b", false},        {"a?", false},
      {"a*b", false},          {"a\"b", false},  {"a<b", false},        {"a|b", false},
      {"tab\tname", false},    {"ends.", false}, {"ends ", false},      {"CON", false},
      {"nul", false},          {"Com1", false},  {"LPT9.txt", false},   {"CONSOLE", true},
      {"COM10", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(portable_name_problem(c.name).empty(), c.usable) << "'" << c.name << "'";
  }
}

}  // namespace
}  // namespace tracciato
