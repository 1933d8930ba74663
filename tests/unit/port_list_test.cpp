#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "serial/port_list.h"
#include "serial/port_table_glue.h"
#include "tests/unit/fakes/fake_platform.h"
#include "tests/unit/fakes/fake_port_table.h"
#include "ui/command_ids.h"

namespace {

using Entries = std::vector<std::string>;

class PortList : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        g_main.window = FakeMainWindow();
    }
    void Ports(const Entries& names) {
        for (const std::string& name : names) g_fakePortTable.values.push_back(PortValue(name));
    }
    FakeControl& List() { return g_fake.controls[kIdPortList]; }
};

TEST_F(PortList, RefreshListsThePortsInNumericOrderWithTheFirstSelected) {
    Ports({"COM10", "COM3", "COM1", "COM3"});
    List().enabled = false;
    RefreshPortList();
    EXPECT_EQ(List().items, (Entries{"COM1", "COM3", "COM3", "COM10"}));
    EXPECT_EQ(List().selection, 0);
    EXPECT_TRUE(List().enabled);
    EXPECT_EQ(g_fakePortTable.openKeys, 0);
}

TEST_F(PortList, NoTableOrNoValuesLeavesOnlyTheEmptyPlaceholder) {
    g_fakePortTable.opens = false;
    List().items = {"COM4"};
    RefreshPortList();
    EXPECT_EQ(List().items, (Entries{""}));
    EXPECT_EQ(List().selection, 0);

    g_fakePortTable.opens = true;
    EXPECT_FALSE(EnumerateSerialPorts());
    RefreshPortList();
    EXPECT_EQ(List().items, (Entries{""}));
}

TEST_F(PortList, ValuesThatAreNotNamesAreSkippedAndMayLeaveTheListEmpty) {
    FakeRegistryValue number = PortValue("COM5");
    number.type = 4;  // REG_DWORD
    g_fakePortTable.values = {number, number};
    RefreshPortList();
    EXPECT_TRUE(List().items.empty());  // no placeholder: the table had values
    EXPECT_EQ(List().selection, -1);

    Ports({"COM2"});
    RefreshPortList();
    EXPECT_EQ(List().items, (Entries{"COM2"}));
}

TEST_F(PortList, DataWithoutATerminatingZeroIsReadOnlyWithinItsBuffer) {
    FakeRegistryValue unterminated = PortValue("COM7");
    unterminated.data.resize(8);  // "COM7" without the zero character
    FakeRegistryValue longer = PortValue("COM12");
    FakeRegistryValue odd = PortValue("COM3");
    odd.data.push_back(0x7F);  // a stray byte makes the longest data an odd size
    g_fakePortTable.values = {unterminated, longer, odd};
    RefreshPortList();
    EXPECT_EQ(List().items, (Entries{"COM3", "COM7", "COM12"}));
}

TEST_F(PortList, OnlyTheFirst50EntriesInTableOrderSurviveTheSort) {
    for (int n = 60; n >= 1; --n) Ports({"COM" + std::to_string(n)});
    RefreshPortList();
    ASSERT_EQ(List().items.size(), 50u);
    EXPECT_EQ(List().items.front(), "COM11");
    EXPECT_EQ(List().items.back(), "COM60");
}

TEST_F(PortList, NumbersOfAnySizeAndOddNamesAreListedByTheirNumber) {
    Ports({"COM100", "CNCA0", "COM9", "CO", "COM256"});
    RefreshPortList();
    EXPECT_EQ(List().items, (Entries{"COM0", "COM0", "COM9", "COM100", "COM256"}));

    EXPECT_EQ(PortNumberOf("COM 12x"), 12);
    EXPECT_EQ(PortNumberOf("COM-3"), -3);
    EXPECT_EQ(PortNumberOf("COM99999999999"), INT_MAX);
    EXPECT_EQ(PortNumberOf(""), 0);
    EXPECT_LT(ComparePortNumbers(INT_MIN, INT_MAX), 0);  // no overflow in the comparison
    EXPECT_GT(ComparePortNumbers(INT_MAX, -1), 0);
}

TEST_F(PortList, SelectByNameMatchesWholeNamesOnly) {
    Ports({"COM17", "COM3"});
    RefreshPortList();
    int index = 42;
    SelectPortByName("COM7", &index);
    EXPECT_EQ(index, 42);
    EXPECT_EQ(List().selection, 0);
    SelectPortByName("COM17", &index);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(List().selection, 1);
    SelectPortByName("com3", &index);
    EXPECT_EQ(index, 1);
}

}  // namespace
