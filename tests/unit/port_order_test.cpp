#include <gtest/gtest.h>

#include "serial/port_order.h"
#include "serial/port_table.h"
#include "testkit/fakes/fakes.h"

using Names = std::vector<std::string>;

TEST(PortOrder, PortsAreListedByTheNumberAfterTheirFirstThreeCharactersFromTheFirst50) {
    Names fiftyOne;  // COM51 down to COM1: COM1 comes 51st and is dropped
    Names fiftyLargest;
    for (int n = 51; n >= 1; --n) fiftyOne.push_back("COM" + std::to_string(n));
    for (int n = 2; n <= 51; ++n) fiftyLargest.push_back("COM" + std::to_string(n));
    const std::pair<Names, Names> cases[] = {
        {{"COM10", "COM3", "COM1", "COM100", "COM2", "COM1000"},
         {"COM1", "COM2", "COM3", "COM10", "COM100", "COM1000"}},
        {{"COM4", "CNCA0", "CO", "", "COM"}, {"COM0", "COM0", "COM0", "COM0", "COM4"}},
        {{"COM 7", "COM7x", "COM-2"}, {"COM-2", "COM7", "COM7"}},
        {{"COM99999999999999999999", "COM-99999999999999999999"}, {"COM-2147483648", "COM2147483647"}},
        {fiftyOne, fiftyLargest},
    };
    for (const auto& [entries, ordered] : cases) EXPECT_EQ(OrderPortNames(entries), ordered);
}

TEST(PortTable, NamesAreReadWithinTheirDataWhetherTerminatedOrNot) {
    StartFreshProgram();
    g_fakeRegistry.portTable = {
        {kRegistryString, Utf16("COM100")},
        {kRegistryString, Utf16("COM7").substr(0, 8)},     // unterminated, after a longer one
        {kRegistryString, Utf16("COM123").substr(0, 11)},  // an odd byte count: its half character dropped
        {3, Utf16("COM9")},                                // not a string: skipped, but counted
    };
    std::vector<std::u16string> names;
    std::uint32_t valueCount = 0;
    ASSERT_TRUE(ReadPortTable(&names, &valueCount));
    EXPECT_EQ(valueCount, 4u);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"COM100", u"COM7", u"COM12"}));
    for (const char* name : {"COM7", "COM100"}) EXPECT_TRUE(IsPortPresent(name)) << name;
    for (const char* name : {"COM1", "COM10", "com7", "COM9"}) EXPECT_FALSE(IsPortPresent(name)) << name;
    EXPECT_EQ(g_fakeRegistry.openKeys, 0);
    g_fakeRegistry.portTableOpens = false;
    EXPECT_FALSE(ReadPortTable(&names, &valueCount));
    EXPECT_FALSE(IsPortPresent("COM7"));
}
