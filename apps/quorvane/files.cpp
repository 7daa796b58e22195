// files.cpp: whole files read, and written whole or not at all.
#include "apps/quorvane/files.h"

#include <algorithm>

namespace {

constexpr DWORD MaxFileBytes = 16u << 20;   // anything larger is not a panel file: read its head
constexpr int RenameAttempts = 10;
constexpr DWORD RenameRetryMs = 20;

} // namespace

std::string Utf8FromAnsi(const std::string &ansi)
{
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], n);
    n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(n > 0 ? n : 1, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], n, nullptr, nullptr);
    utf8.resize(n > 0 ? n - 1 : 0);
    return utf8;
}

bool FileExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadWholeFile(const std::string &path, std::string *content, DWORD *error)
{
    DWORD ignored = 0;
    error = error ? error : &ignored;
    content->clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return false;
    }
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while (content->size() < MaxFileBytes) {
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            *error = GetLastError();
            ok = false;
            break;
        }
        if (got == 0)
            break;
        content->append(buffer, got);
    }
    CloseHandle(file);
    return ok;
}

bool WriteFileAtomically(const std::string &path, const std::string &content, DWORD *error)
{
    DWORD ignored = 0;
    error = error ? error : &ignored;
    // The whole text goes to a file beside the target, reaches the disk, and only then takes the
    // target's name in one rename: a reader (or a crash) sees the old file or the new one.
    std::string temporary = path + ".tmp";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return false;
    }
    size_t done = 0;
    bool ok = true;
    while (ok && done < content.size()) {
        DWORD wrote = 0;
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 20));
        ok = WriteFile(file, content.data() + done, chunk, &wrote, nullptr) && wrote > 0;
        done += wrote;
    }
    ok = ok && FlushFileBuffers(file);
    if (!ok)
        *error = GetLastError();
    CloseHandle(file);
    // A reader that holds the old file open without sharing its deletion (a virus scanner, a backup,
    // an editor) makes the rename fail for a moment: try again a few times before giving up.
    for (int attempt = 0; ok; ++attempt) {
        if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            break;
        *error = GetLastError();
        bool passing = *error == ERROR_SHARING_VIOLATION || *error == ERROR_ACCESS_DENIED ||
                       *error == ERROR_LOCK_VIOLATION;
        if (!passing || attempt == RenameAttempts - 1)
            ok = false;
        else
            Sleep(RenameRetryMs);
    }
    if (!ok)
        DeleteFileA(temporary.c_str());
    return ok;
}

std::string FileNameOf(const std::string &path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
