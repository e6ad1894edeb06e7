// Any text as registration data: both tables take it, and what they keep obeys their rules
// (codes within a byte, names present, no key twice, the maker's rows exactly its own).
#include "hart/RegistrationData.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>
#include <utility>

namespace reg = hart::registration;

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

void CheckProblems(const std::vector<reg::Problem>& problems, std::string_view csv) {
    const int lines = static_cast<int>(std::count(csv.begin(), csv.end(), '\n')) + 1;
    for (const auto& p : problems)
        Check(p.line >= 1 && p.line <= lines && !p.reason.empty());
}

void CheckManufacturers(std::string_view csv) {
    std::vector<reg::Problem> problems;
    auto rows = reg::ParseManufacturers(csv, &problems);
    CheckProblems(problems, csv);
    std::set<int> codes;
    for (const auto& m : rows)
        Check(m.code >= 0 && m.code <= 255 && !m.name.empty() && codes.insert(m.code).second);

    reg::ApplyMakerRows(rows);
    codes.clear();
    int maker = 0;
    for (const auto& m : rows) {
        Check(codes.insert(m.code).second);
        if (m.code == 134) {
            Check(m.name == "Norvane Works");
            ++maker;
        }
    }
    Check(maker == 1);
}

void CheckDeviceTypes(std::string_view csv) {
    std::vector<reg::Problem> problems;
    auto rows = reg::ParseDeviceTypes(csv, &problems);
    CheckProblems(problems, csv);
    std::set<std::pair<int, int>> keys;
    for (const auto& d : rows)
        Check(d.manufacturer >= 0 && d.manufacturer <= 255 && d.deviceType >= 0 && d.deviceType <= 255 &&
              !d.model.empty() && keys.insert({d.manufacturer, d.deviceType}).second);

    reg::ApplyMakerRows(rows);
    keys.clear();
    std::vector<int> makerTypes;
    std::size_t firstMaker = rows.size(), lastMaker = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Check(keys.insert({rows[i].manufacturer, rows[i].deviceType}).second);
        if (rows[i].manufacturer == 134) {
            makerTypes.push_back(rows[i].deviceType);
            firstMaker = std::min(firstMaker, i);
            lastMaker = i;
        }
    }
    // The maker's list, in its order, in one block.
    Check(makerTypes == std::vector<int>{117, 115, 107, 97, 96, 127, 87, 126, 103});
    Check(lastMaker - firstMaker + 1 == makerTypes.size());
    Check(keys.count({211, 128}) == 1 && keys.count({211, 129}) == 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view csv(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> fields;
    (void)reg::SplitCsvLine(csv, fields);
    CheckManufacturers(csv);
    CheckDeviceTypes(csv);
    return 0;
}
