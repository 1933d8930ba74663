#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A program with its main window and controls built against the fakes, in
// English, with the given reader model; the port table and serial ports are
// empty until the test adds them.
class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void Build(int readerModel);
    // Puts ports into the system table (by name) and into the fake serial world.
    void AddPorts(const std::vector<std::string>& names);
    std::vector<std::string> BoxTexts() const;
    std::vector<unsigned> BoxKinds() const;
    // Ticks the running operation's timer until it ends.
    void FinishOperation();
};
