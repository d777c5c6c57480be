// A fresh folder for one benchmark, removed with its contents at the end.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace tracciato::bench {

class BenchFolder {
 public:
  BenchFolder();
  ~BenchFolder();
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Every regular file of `folder` with its bytes.
std::map<std::string, std::string> files_in(const std::filesystem::path& folder);

}  // namespace tracciato::bench
