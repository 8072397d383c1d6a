// The checked-in records a test compares whole: the transcript of a run and the MIDI
// streams of scripted games (tests/data/*.txt). They are built into the test programs, so
// that a cross-built program carries them to Windows.
#pragma once

#include <string>
#include <string_view>

namespace kadeno::test {

// The text of tests/data/NAME; empty when there is no such file.
std::string_view TestData(std::string_view name);

// Compares a record with tests/data/NAME line by line and fails the test at the first
// line that differs, naming it. The record is also written to NAME beside the test
// program, to be read (or, once read through, copied over the checked-in one). With
// KADENO_UPDATE_TEST_DATA set to a folder, writes the record there instead and passes.
void ExpectSameAsData(std::string_view name, const std::string& record);

}  // namespace kadeno::test
