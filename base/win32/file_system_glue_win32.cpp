#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstring>
#include <vector>

#include "base/file_system_glue.h"
#include "base/open_access.h"
#include "base/utf16_glue.h"

const char* const kPathSeparators = "\\/";

namespace {

HANDLE HandleOf(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }

// By its UTF-16 name; INVALID_HANDLE_VALUE, with ERROR_NO_UNICODE_TRANSLATION, for a name that has none.
HANDLE OpenByName(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    std::wstring wide;
    return NameUtf16(path, &wide) ? CreateFileW(wide.c_str(), access, share, nullptr, disposition, flags, nullptr)
                                  : INVALID_HANDLE_VALUE;
}

// What an open handle is: a reparse point is a link, whatever it leads to.
PathKind KindOfHandle(HANDLE handle, BY_HANDLE_FILE_INFORMATION* information) {
    switch (GetFileType(handle)) {
        case FILE_TYPE_CHAR:
            return PathKind::kDevice;
        case FILE_TYPE_PIPE:
            return PathKind::kFifo;
        default:
            break;
    }
    if (!GetFileInformationByHandle(handle, information)) return PathKind::kMissing;
    if ((information->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return PathKind::kLink;
    return (information->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::kFolder : PathKind::kFile;
}

// The facts of an open handle; error set where they cannot be read.
PathFacts FactsOf(HANDLE handle) {
    PathFacts facts;
    BY_HANDLE_FILE_INFORMATION information{};
    facts.kind = KindOfHandle(handle, &information);
    if (facts.kind == PathKind::kMissing) facts.error = static_cast<std::int32_t>(GetLastError());
    facts.volume = information.dwVolumeSerialNumber;
    facts.index = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    facts.names = information.nNumberOfLinks;
    return facts;
}

// Nothing by that name (nor a folder on its way) is no error.
PathFacts FactsOfFailedOpen() {
    PathFacts facts;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) facts.error = static_cast<std::int32_t>(error);
    return facts;
}

}  // namespace

// What the path is, and which file, is read from a handle of the item itself, never of a link's target. A
// reparse point is also told by the attributes of its name: Wine's handle of a symbolic link shows none.
PathFacts LookAtPath(const std::string& path) {
    const HANDLE handle = OpenByName(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS);
    if (handle == INVALID_HANDLE_VALUE) return FactsOfFailedOpen();
    PathFacts facts = FactsOf(handle);
    CloseHandle(handle);
    std::wstring wide;
    const DWORD attributes = NameUtf16(path, &wide) ? GetFileAttributesW(wide.c_str()) : INVALID_FILE_ATTRIBUTES;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        facts.kind = PathKind::kLink;
    return facts;
}

// Only what ReadUpTo, WriteAll and CloseFile need (base/open_access.h): an installed appconfig.ini lets Users
// write its data and nothing more.
PathFacts OpenPath(const std::string& path, bool forUpdate, FileHandle* handle) {
    const HANDLE file = OpenByName(path, OpenAccess(forUpdate), FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
    if (file == INVALID_HANDLE_VALUE) return FactsOfFailedOpen();
    *handle = reinterpret_cast<FileHandle>(file);
    return FactsOf(file);
}

std::string ReadUpTo(FileHandle handle, std::size_t limit) {
    std::string bytes(limit, '\0');
    std::size_t got = 0;
    DWORD count = 0;
    while (got < limit && ReadFile(HandleOf(handle), &bytes[got], static_cast<DWORD>(limit - got), &count, nullptr) &&
           count > 0) {
        got += count;
    }
    bytes.resize(got);
    return bytes;
}

bool WriteAll(FileHandle handle, const std::string& bytes) {
    DWORD written = 0;
    return WriteFile(HandleOf(handle), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
           written == bytes.size();
}

bool CloseFile(FileHandle handle) {
    const bool flushed = FlushFileBuffers(HandleOf(handle)) != 0;
    return CloseHandle(HandleOf(handle)) != 0 && flushed;
}

// CREATE_NEW fails on any name that is there, a link that leads nowhere included.
bool CreateExclusive(const std::string& path, const std::string& bytes) {
    const HANDLE file =
        OpenByName(path, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool written = WriteAll(reinterpret_cast<FileHandle>(file), bytes);
    return CloseHandle(file) != 0 && written;
}

// Shared as _wfopen shares a file, and in text mode as _wfopen's "a": the log's lines end as they did.
OpenedFile OpenForAppending(const std::string& name) {
    OpenedFile opened;
    const HANDLE handle = OpenByName(name, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
    if (handle == INVALID_HANDLE_VALUE) {
        opened.error = static_cast<std::int32_t>(GetLastError());
        return opened;
    }
    BY_HANDLE_FILE_INFORMATION information;
    opened.kind = KindOfHandle(handle, &information);
    const int descriptor = opened.kind == PathKind::kLink
                               ? -1
                               : _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_APPEND | _O_WRONLY);
    opened.file = descriptor >= 0 ? _fdopen(descriptor, "a") : nullptr;
    if (opened.file == nullptr) {
        opened.error = opened.kind == PathKind::kLink ? 0 : static_cast<std::int32_t>(ERROR_OPEN_FAILED);
        if (descriptor >= 0) {
            _close(descriptor);
        } else {
            CloseHandle(handle);
        }
    }
    return opened;
}

bool CreateNewFileIn(const std::string& folder, NewFile* file, std::int32_t* error) {
    // GetTempFileNameW creates the file under a name no file has (CREATE_NEW), which is then opened, not made.
    wchar_t name[MAX_PATH];
    std::wstring wide;
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (NameUtf16(folder, &wide) && GetTempFileNameW(wide.c_str(), L"mz6", 0, name) != 0) {
        handle = CreateFileW(name, GENERIC_WRITE | DELETE, 0, nullptr, TRUNCATE_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (handle == INVALID_HANDLE_VALUE) DeleteFileW(name);
    }
    if (handle == INVALID_HANDLE_VALUE) {
        *error = static_cast<std::int32_t>(GetLastError());
        return false;
    }
    const wchar_t* base = wcsrchr(name, L'\\');
    file->handle = reinterpret_cast<FileHandle>(handle);
    file->path = folder + "\\";
    for (const wchar_t* c = base != nullptr ? base + 1 : name; *c != L'\0'; ++c) {
        file->path += static_cast<char>(*c);  // "mz6XXXX.tmp": ASCII
    }
    return true;
}

namespace {

// The file of this handle takes the name `path`, replacing what has it: the file moved is the one written,
// whatever has since been put at its own name.
bool RenameByHandle(HANDLE handle, const std::string& path) {
    std::wstring target;
    if (!NameUtf16(path, &target)) return false;
    const std::size_t nameBytes = (target.size() + 1) * sizeof(wchar_t);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    FILE_RENAME_INFO* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, target.c_str(), nameBytes);
    return SetFileInformationByHandle(handle, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())) != 0;
}

void DeleteByHandle(HANDLE handle) {
    FILE_DISPOSITION_INFO gone{TRUE};
    SetFileInformationByHandle(handle, FileDispositionInfo, &gone, sizeof gone);
}

}  // namespace

// The new file takes its rights from its folder, as the old one did. Its bytes are on disk before its rename;
// once renamed it has replaced the old file, so a flush that fails after that is no reason to remove it.
bool PutNewFileInPlace(NewFile* file, const std::string& content, const std::string& path, PutStep* step,
                       std::int32_t* error) {
    const HANDLE handle = HandleOf(file->handle);
    *step = PutStep::kWrite;
    bool done = WriteAll(file->handle, content) && FlushFileBuffers(handle) != 0;
    DWORD failure = GetLastError();
    if (done) {
        *step = PutStep::kPlace;
        done = RenameByHandle(handle, path);
        failure = GetLastError();
        if (done) FlushFileBuffers(handle);
    }
    if (!done) DeleteByHandle(handle);
    CloseHandle(handle);
    file->handle = kNoFile;
    *error = static_cast<std::int32_t>(failure);
    return done;
}

void DiscardNewFile(NewFile* file) {
    if (file->handle == kNoFile) return;
    DeleteByHandle(HandleOf(file->handle));
    CloseHandle(HandleOf(file->handle));
    file->handle = kNoFile;
}
