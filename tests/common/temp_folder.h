// A temporary folder that belongs to one test alone, removed with its contents when the test ends.
//
// Tests run as separate processes side by side (ctest -j, several checkouts on one machine), so a name
// made from the random seed, the process id or the test's name alone can be shared by two of them, and
// one test's clean-up would remove the other's files. mkdtemp makes the name unique; the test's name in
// it only tells a person whose folder it is.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace vireo::test {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("vireo-" + TestName() + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      ADD_FAILURE() << "cannot make a temporary folder from " << pattern;
      return;
    }
    path_ = pattern;
  }
  ~TempFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    // A test may take write permission from its folder or a sub-folder; give it back so that everything goes.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
      if (it->is_directory(ignored))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // `name` inside the folder.
  std::string Path(std::string_view name) const { return (path_ / name).string(); }

 private:
  // "Suite.Test" of the running test, with anything but letters, digits, '-' and '_' made '_'
  // (parameterised names carry '/').
  static std::string TestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info == nullptr ? "test" : std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
      const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                         c == '-' || c == '_' || c == '.';
      if (!plain) c = '_';
    }
    return name;
  }

  std::filesystem::path path_;
};

}  // namespace vireo::test
