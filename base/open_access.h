#pragma once

#include <cstdint>

// The access rights (Windows' values) OpenPath asks for a handle (appconfig.ini's): what the calls made on it
// need, by Microsoft's documentation, and no more, so that the rights Users have on an installed file (read, write
// and append data; no attributes, no extended attributes, no execute) let every user save. Each call needs:
//   CreateFileW                  SYNCHRONIZE and FILE_READ_ATTRIBUTES, which it adds to every open
//   GetFileInformationByHandle   FILE_READ_ATTRIBUTES; GetFileType and CloseHandle nothing
//   ReadFile                     FILE_READ_DATA (the load)
//   WriteFile                    FILE_WRITE_DATA: the save writes over the start, not only at the end
//   FlushFileBuffers             FILE_WRITE_DATA or FILE_APPEND_DATA (the I/O manager's check; its Win32 page
//                                says GENERIC_WRITE, which holds write attributes and extended attributes too)
constexpr std::uint32_t OpenAccess(bool forUpdate) {
    constexpr std::uint32_t kReadData = 0x1, kWriteData = 0x2, kReadAttributes = 0x80, kSynchronize = 0x100000;
    return kSynchronize | kReadAttributes | (forUpdate ? kWriteData : kReadData);
}
