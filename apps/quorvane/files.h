// files.h: whole files read and written, the new one in place only once it is complete.
#pragma once

#include <windows.h>
#include <string>

bool FileExists(const std::string &path);
// A path in the system's code page as UTF-8, as SQLite takes it (a user's name may be non-ASCII).
std::string Utf8FromAnsi(const std::string &ansi);
// The file's name without its folder: "Quorvane.cfg" of "C:\\x\\Quorvane.cfg".
std::string FileNameOf(const std::string &path);
// The whole file (up to 16 MB, more than any panel file); error, if given, gets GetLastError on failure.
bool ReadWholeFile(const std::string &path, std::string *content, DWORD *error = nullptr);
// The whole text or nothing: written beside the target, flushed, then renamed over it.
bool WriteFileAtomically(const std::string &path, const std::string &content, DWORD *error = nullptr);
