#pragma once

#include <string>

// A fresh, empty working directory for one test; the old one is restored and
// the directory removed when it goes out of scope.
struct TempWorkingDir {
    TempWorkingDir();
    ~TempWorkingDir();
    TempWorkingDir(const TempWorkingDir&) = delete;
    TempWorkingDir& operator=(const TempWorkingDir&) = delete;

    std::string path;
    std::string previous;
};

std::string ReadWholeFile(const std::string& name);  // "" when missing
void WriteWholeFile(const std::string& name, const std::string& bytes);
