#include "tests/unit/fakes/temp_dir.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

TempWorkingDir::TempWorkingDir() {
    previous = std::filesystem::current_path().string();
    char pattern[] = "/tmp/mz-unit-XXXXXX";
    path = mkdtemp(pattern);
    std::filesystem::current_path(path);
}

TempWorkingDir::~TempWorkingDir() {
    std::filesystem::current_path(previous);
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string ReadWholeFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& name, const std::string& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << bytes;
}
