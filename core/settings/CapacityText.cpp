#include "core/settings/CapacityText.h"

#include <cctype>
#include <cmath>
#include <string>

#include "core/settings/TextNumber.h"

namespace zv {

namespace {

struct Named {
    std::string_view name;
    double bytes;
};

// CD-R of 80 minutes, DVD+R, DVD-R DL, BD-R and BD-R DL.
constexpr Named kDiscs[] = {{"cd", 737280000},
                            {"dvd", 4700372992},
                            {"dvd-dl", 8543666176},
                            {"bd", 25025314816},
                            {"bd-dl", 50050629632}};

std::optional<double> UnitFactor(std::string unit) {
    for (char& c : unit)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (unit.empty() || unit == "b")
        return 1;
    const std::string_view prefixes = "kmgtp";
    const size_t power = prefixes.find(unit[0]);
    if (power == std::string_view::npos)
        return std::nullopt;
    const std::string rest = unit.substr(1);
    if (rest.empty() || rest == "b")
        return std::pow(1000.0, static_cast<double>(power + 1));
    if (rest == "ib")
        return std::pow(1024.0, static_cast<double>(power + 1));
    return std::nullopt;
}

}  // namespace

std::optional<double> ParseCapacity(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    for (const Named& disc : kDiscs) {
        if (text == disc.name)
            return disc.bytes;
    }
    // The number ends where the unit's letters begin; an exponent's "e" is no
    // unit, and "1e3" is read as the number it is.
    size_t unitStart = text.size();
    while (unitStart > 0 && std::isalpha(static_cast<unsigned char>(text[unitStart - 1])))
        --unitStart;
    if (unitStart == text.size())
        return std::nullopt;
    const std::optional<double> number = ParseNumber(text.substr(0, unitStart));
    const std::optional<double> factor = UnitFactor(std::string(text.substr(unitStart)));
    if (!number || !factor || *number < 0)
        return std::nullopt;
    return std::floor(*number * *factor);
}

std::optional<double> CapacityFromText(std::string_view text,
                                       const std::vector<SizePreset>& presets) {
    if (const std::optional<double> bytes = ParseNumber(text))
        return bytes;
    for (const SizePreset& preset : presets) {
        if (preset.name == text)
            return preset.capacity;
    }
    return ParseCapacity(text);
}

}  // namespace zv
