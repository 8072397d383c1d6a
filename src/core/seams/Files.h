// The files seam: the two folders the program reads and writes, whole text files in them,
// and the log line for a failure no box shows. The real program implements it on POSIX or
// Win32; the tests in memory.
#pragma once

#include <optional>
#include <string>

namespace kadeno {

class Files {
 public:
  virtual ~Files() = default;

  // Folder that holds the wave files (beside the program, or its data folder once installed).
  virtual std::string ProgramFolder() = 0;
  // Folder that holds the settings file.
  virtual std::string SettingsFolder() = 0;

  virtual bool FileExists(const std::string& path) = 0;
  // The whole file, or nullopt when it cannot be read.
  virtual std::optional<std::string> ReadTextFile(const std::string& path) = 0;
  // Writes the file whole or not at all (temporary file, flush, rename); makes the folder.
  virtual bool WriteTextFile(const std::string& path, const std::string& contents) = 0;
};

// Tells whoever looks (stderr) of a failure no box shows the player.
class ProblemLog {
 public:
  virtual ~ProblemLog() = default;
  // One line, given without the program's name and the line end.
  virtual void LogProblem(const std::string& line) = 0;
};

}  // namespace kadeno
