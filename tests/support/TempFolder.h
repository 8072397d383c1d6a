// A temporary folder of the test's own, named at random so that two builds testing side by
// side never share a file, and removed with all in it at the end.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace kadeno::test {

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    do {
      path_ = (std::filesystem::temp_directory_path() / ("kadeno-" + std::to_string(random())))
                  .string();
    } while (!std::filesystem::create_directory(path_));
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace kadeno::test
