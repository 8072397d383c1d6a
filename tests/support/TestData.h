// tests/data/*.txt, built into the test programs so that a cross-built one carries them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kadeno::test {

// The text of tests/data/NAME; empty when there is no such file.
std::string_view TestData(std::string_view name);

// The lines of tests/data/NAME split at their tabs; blank lines and "#" notes left out.
std::vector<std::vector<std::string>> TestRows(std::string_view name);

// Fails at the first line where a record differs from tests/data/NAME, writing the record
// beside the test program; with KADENO_UPDATE_TEST_DATA=folder, writes it there and passes.
void ExpectSameAsData(std::string_view name, const std::string& record);

// A file's bytes; empty when it cannot be read.
std::string ReadWhole(const std::string& path);

}  // namespace kadeno::test
