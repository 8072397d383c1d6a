// The one thing the message log asks of the platform's files: its file opened for
// appending, in binary, made when missing. Defined with each platform's file code
// (PosixFiles.cpp, Win32Files.cpp), since a path's encoding is the platform's business.
#pragma once

#include <cstdio>
#include <string>

namespace kadeno {

// Null when the file cannot be opened.
std::FILE* OpenLogFileForAppend(const std::string& path);

}  // namespace kadeno
