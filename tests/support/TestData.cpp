#include "support/TestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kadeno::test {

void ExpectSameAsData(std::string_view name, const std::string& record) {
  const char* folder = std::getenv("KADENO_UPDATE_TEST_DATA");
  const std::string_view expected = TestData(name);
  if (!folder && expected == record) return;
  std::ofstream out((folder ? std::string(folder) + "/" : "") + std::string(name),
                    std::ios::binary);
  EXPECT_TRUE(out << record) << name;
  if (folder) return;
  // The first line that differs, counted from 1.
  std::istringstream want{std::string(expected)}, got{record};
  std::string a, b;
  size_t line = 1;
  for (;; ++line) {
    const bool more = static_cast<bool>(std::getline(want, a));
    if (!more) a = "(the end)";
    if (!std::getline(got, b)) b = "(the end)";
    if (a != b || !more) break;
  }
  ADD_FAILURE() << name << " differs from line " << line << " on (the whole record is in " << name
                << " beside the test program)\n  expected: " << a << "\n  actual:   " << b;
}

std::vector<std::vector<std::string>> TestRows(std::string_view name) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines{std::string(TestData(name))};
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line + '\t');  // so that an empty last field counts
    rows.emplace_back();
    for (std::string field; std::getline(fields, field, '\t');) rows.back().push_back(field);
  }
  EXPECT_FALSE(rows.empty()) << name;
  return rows;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace kadeno::test
