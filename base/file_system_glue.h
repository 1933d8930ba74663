#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// What the window program, mz6 and the installer's helper ask of a path, never through a last link: a symbolic
// link, junction or other reparse point is looked at and opened as itself. base/win32/file_system_glue_win32.cpp
// on Windows, base/posix/file_system_glue_posix.cpp on Linux, testkit/fakes/file_system_glue_fake.cpp in the
// host tests. Paths are UTF-8.

// kLink is the link itself; the kinds from kFolder on hold no file's bytes.
enum class PathKind { kMissing, kFile, kLink, kFolder, kDevice, kFifo, kSocket };

struct PathFacts {
    PathKind kind = PathKind::kMissing;  // the path itself, a last link not followed
    PathKind leadsTo = PathKind::
        kMissing;  // a link: what it ends at, every link followed (kMissing: nothing, or Windows, which does not say)
    std::string linkText;                 // a link: the path it holds ("" where the system does not say: Windows)
    std::int32_t error = 0;               // the system's number where the path cannot be looked at
    std::uint64_t volume = 0, index = 0;  // which file it is (device and inode; volume and file index), 0 0: none
    std::uint32_t names = 0;              // how many names (hard links) the item has; 0: not known
};

PathFacts LookAtPath(const std::string& path);

// The characters that end a folder's name in a path: "/" on Linux, also "\\" on Windows.
extern const char* const kPathSeparators;

using FileHandle = std::intptr_t;
constexpr FileHandle kNoFile = -1;

// The settings file's calls: the window program's only, so Windows and the host tests' fake, no POSIX glue.
// Opens what is at `path` to read it, or to read and write it from its start, and tells what was opened as the
// handle shows it (not as the name shows it again). *handle is set whenever something was opened, whatever its
// kind. The kind is kMissing, with no error, when nothing has the name.
PathFacts OpenPath(const std::string& path, bool forUpdate, FileHandle* handle);
// At most `limit` bytes from where the handle is.
std::string ReadUpTo(FileHandle handle, std::size_t limit);
// False when what was written could not be kept (a full disk shows at the latest here).
bool CloseFile(FileHandle handle);
// Creates `path` holding `bytes`; false, with nothing replaced, when anything (a dangling link too) has the name.
bool CreateExclusive(const std::string& path, const std::string& bytes);

// Through interruptions and short writes; false when not all went in.
bool WriteAll(FileHandle handle, const std::string& bytes);

// A file opened for appending to it, and what was opened, as the handle shows it. A link is told as kLink, with
// no file and the file closed again.
struct OpenedFile {
    std::FILE* file = nullptr;
    PathKind kind = PathKind::kMissing;
    std::int32_t error = 0;  // the system's number where it could not be opened
};
OpenedFile OpenForAppending(const std::string& name);

// A file being written to take the place of another.
struct NewFile {
    FileHandle handle = kNoFile;
    std::string path;
};

// A new empty file in `folder`, created exclusively under a name no one can guess (a link planted there is
// never written through); false with the system's error number when the folder cannot take it.
bool CreateNewFileIn(const std::string& folder, NewFile* file, std::int32_t* error);

// The step at which PutNewFileInPlace failed.
enum class PutStep { kWrite, kOwner, kPlace };

// Writes `content` into `file`, on disk (where a write the disk could not keep shows up at the latest), gives
// it the owner, group and mode of the file at `path` (a new file's where there is none yet; on Windows the
// folder's rights), and then puts it in the place of `path`, in the same folder, in one step (its folder synced
// after): `path` is always either the old file or the new one. The file moved is the one written (on Windows
// renamed through its handle, not looked up by its name again). On failure the new file is removed, with the
// step and the system's error number.
bool PutNewFileInPlace(NewFile* file, const std::string& content, const std::string& path, PutStep* step,
                       std::int32_t* error);

// Closes and removes a new file that is not to be used.
void DiscardNewFile(NewFile* file);
