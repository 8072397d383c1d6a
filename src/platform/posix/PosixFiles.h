// Files on a POSIX system, for the window seam and the registry file: whole-file reads,
// writes that land whole or not at all, and the XDG folders.
#pragma once

#include <optional>
#include <string>

namespace kadeno {

bool PosixFileExists(const std::string& path);
std::optional<std::string> PosixReadFile(const std::string& path);
// Writes a temporary file beside path, flushes it to disk and renames it over path, so a
// failure at any point leaves the previous file as it was. Makes missing folders. The
// temporary always has the same name, PosixTemporaryFor(path): a save cut short leaves
// at most that one file, which the next save reuses.
bool PosixWriteFileAtomically(const std::string& path, const std::string& contents);
std::string PosixTemporaryFor(const std::string& path);
// Makes a folder and its parents; true when it exists afterwards.
bool PosixMakeFolders(const std::string& folder);

// $XDG_CONFIG_HOME/kadeno (default ~/.config/kadeno), where the settings file lives.
std::string KadenoConfigFolder();
// $XDG_DATA_HOME/kadeno (default ~/.local/share/kadeno), where the registry file lives.
std::string KadenoDataFolder();

}  // namespace kadeno
