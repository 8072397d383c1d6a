#include "support/TestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace kadeno::test {

namespace {

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

void ExpectSameAsData(std::string_view name, const std::string& record) {
  if (const char* folder = std::getenv("KADENO_UPDATE_TEST_DATA")) {
    EXPECT_TRUE(WriteFile(std::string(folder) + "/" + std::string(name), record)) << name;
    return;
  }
  const std::string_view expected = TestData(name);
  if (expected == record) return;
  WriteFile(std::string(name), record);
  size_t line = 1, start = 0;
  for (size_t i = 0; i < std::min(expected.size(), record.size()) && expected[i] == record[i];
       ++i) {
    if (record[i] == '\n') {
      ++line;
      start = i + 1;
    }
  }
  const auto lineAt = [start](std::string_view s) {
    if (start >= s.size()) return std::string_view("(the end)");
    return s.substr(start, s.find('\n', start) - start);
  };
  ADD_FAILURE() << name << " differs from line " << line << " on (the whole record is in " << name
                << " beside the test program)\n  expected: " << lineAt(expected)
                << "\n  actual:   " << lineAt(record);
}

}  // namespace kadeno::test
