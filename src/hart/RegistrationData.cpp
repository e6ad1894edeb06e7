#include "hart/RegistrationData.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <utility>

namespace hart::registration {
namespace {

struct MakerDeviceType {
    int deviceType;
    const char* model;
};

// The maker's device types, in the order the pages count them (FindDeviceTypeIndex).
constexpr MakerDeviceType kMakerDeviceTypes[] = {{117, "KT410"}, {115, "KT420"}, {107, "KP510"},
                                                 {97, "KP520"},  {96, "KP510F"}, {127, "KP550"},
                                                 {87, "KF610"},  {126, "KL710"}, {103, "KP570N"}};
constexpr int kMakerCode = 134;
constexpr const char* kMakerName = "Norvane Works";
// The partner's pressure family, which answers the maker's commands.
constexpr int kPartnerCode = 211;
constexpr MakerDeviceType kPartnerDeviceTypes[] = {{128, "PAD"}, {129, "PAS"}};

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool ParseByte(std::string_view text, int& value) {
    text = Trim(text);
    if (text.empty())
        return false;
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < 0 || v > 255)
        return false;
    value = v;
    return true;
}

// Calls f(lineNumber, fields) for every record after the header; problems for the rest.
template <class F>
void ForEachRecord(std::string_view csv, std::string_view header, std::size_t fieldCount,
                   std::vector<Problem>* problems, F&& f) {
    if (csv.substr(0, 3) == "\xEF\xBB\xBF")
        csv.remove_prefix(3);
    auto report = [&](int line, std::string reason) {
        if (problems)
            problems->push_back({line, std::move(reason)});
    };
    std::vector<std::string> fields;
    bool first = true;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos < csv.size()) {
        const std::size_t nl = csv.find('\n', pos);
        std::string_view line = csv.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        pos = nl == std::string_view::npos ? csv.size() : nl + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (Trim(line).empty())
            continue;
        if (first) {
            first = false;
            if (Trim(line) == header)
                continue;
        }
        if (!SplitCsvLine(line, fields)) {
            report(lineNo, "unterminated quote");
            continue;
        }
        if (fields.size() != fieldCount) {
            report(lineNo, "expected " + std::to_string(fieldCount) + " fields, found " + std::to_string(fields.size()));
            continue;
        }
        f(lineNo, fields, report);
    }
}

} // namespace

bool SplitCsvLine(std::string_view line, std::vector<std::string>& fields) {
    fields.clear();
    std::string field;
    bool quoted = false;    // inside a quoted part
    bool wasQuoted = false; // the field had a quoted part: keep its blanks
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
            wasQuoted = true;
        } else if (c == ',') {
            fields.push_back(wasQuoted ? field : std::string(Trim(field)));
            field.clear();
            wasQuoted = false;
        } else {
            field += c;
        }
    }
    if (quoted)
        return false;
    fields.push_back(wasQuoted ? field : std::string(Trim(field)));
    return true;
}

std::vector<Manufacturer> ParseManufacturers(std::string_view csv, std::vector<Problem>* problems) {
    std::vector<Manufacturer> rows;
    std::set<int> seen;
    ForEachRecord(csv, "code,name", 2, problems, [&](int line, const std::vector<std::string>& f, auto report) {
        int code = 0;
        if (!ParseByte(f[0], code))
            return report(line, "code is not a number 0..255: \"" + f[0] + "\"");
        if (f[1].empty())
            return report(line, "empty name");
        if (!seen.insert(code).second)
            return report(line, "duplicate code " + std::to_string(code));
        rows.push_back({code, f[1]});
    });
    return rows;
}

std::vector<DeviceType> ParseDeviceTypes(std::string_view csv, std::vector<Problem>* problems) {
    std::vector<DeviceType> rows;
    std::set<std::pair<int, int>> seen;
    ForEachRecord(csv, "manufacturer,device_type,model", 3, problems,
                  [&](int line, const std::vector<std::string>& f, auto report) {
                      int manufacturer = 0, type = 0;
                      if (!ParseByte(f[0], manufacturer) || !ParseByte(f[1], type))
                          return report(line, "codes are not numbers 0..255: \"" + f[0] + "\", \"" + f[1] + "\"");
                      if (f[2].empty())
                          return report(line, "empty model");
                      if (!seen.insert({manufacturer, type}).second)
                          return report(line, "duplicate device type " + f[0] + "/" + f[1]);
                      rows.push_back({manufacturer, type, f[2]});
                  });
    return rows;
}

void ApplyMakerRows(std::vector<Manufacturer>& rows) {
    auto it = std::find_if(rows.begin(), rows.end(), [](const Manufacturer& m) { return m.code == kMakerCode; });
    if (it != rows.end()) {
        it->name = kMakerName;
        return;
    }
    it = std::find_if(rows.begin(), rows.end(), [](const Manufacturer& m) { return m.code > kMakerCode; });
    rows.insert(it, {kMakerCode, kMakerName});
}

void ApplyMakerRows(std::vector<DeviceType>& rows) {
    // The maker's rows are exactly its own list, where the data had them (else in code order).
    auto first = std::find_if(rows.begin(), rows.end(), [](const DeviceType& d) { return d.manufacturer >= kMakerCode; });
    const auto at = first - rows.begin();
    std::erase_if(rows, [](const DeviceType& d) { return d.manufacturer == kMakerCode; });
    std::vector<DeviceType> maker;
    for (const auto& m : kMakerDeviceTypes)
        maker.push_back({kMakerCode, m.deviceType, m.model});
    rows.insert(rows.begin() + std::min<std::ptrdiff_t>(at, static_cast<std::ptrdiff_t>(rows.size())), maker.begin(),
                maker.end());

    for (const auto& p : kPartnerDeviceTypes) {
        auto row = std::find_if(rows.begin(), rows.end(), [&](const DeviceType& d) {
            return d.manufacturer == kPartnerCode && d.deviceType == p.deviceType;
        });
        if (row != rows.end()) {
            row->model = p.model;
            continue;
        }
        auto after = std::find_if(rows.begin(), rows.end(), [](const DeviceType& d) { return d.manufacturer > kPartnerCode; });
        rows.insert(after, {kPartnerCode, p.deviceType, p.model});
    }
}

} // namespace hart::registration
