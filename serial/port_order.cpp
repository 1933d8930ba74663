#include "serial/port_order.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

int PortNumberOf(const char* entry) {
    if (std::strlen(entry) < 3) return 0;
    const long number = std::strtol(entry + 3, nullptr, 10);
    if (number > INT_MAX) return INT_MAX;
    if (number < INT_MIN) return INT_MIN;
    return static_cast<int>(number);
}

int ComparePortNumbers(int a, int b) { return (a > b) - (a < b); }

std::vector<std::string> OrderPortNames(const std::vector<std::string>& entries) {
    std::vector<int> numbers;
    for (std::size_t i = 0; i < entries.size() && i < static_cast<std::size_t>(kMaxListedPorts); ++i) {
        numbers.push_back(PortNumberOf(entries[i].c_str()));
    }
    std::sort(numbers.begin(), numbers.end(), [](int a, int b) { return ComparePortNumbers(a, b) < 0; });
    std::vector<std::string> names;
    for (int number : numbers) names.push_back("COM" + std::to_string(number));
    return names;
}
