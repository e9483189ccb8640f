#include "version_order.h"

#include <array>
#include <cstdint>

namespace {

constexpr size_t kMaxParts = 4;
constexpr size_t kMaxDigits = 9;
using Parts = std::array<uint32_t, kMaxParts>;

bool Parse(const std::string& text, Parts& parts)
{
    parts.fill(0);
    size_t part = 0, digits = 0;
    for (char c : text) {
        if (c == '.') {
            if (digits == 0 || ++part == kMaxParts)
                return false;
            digits = 0;
        } else if (c >= '0' && c <= '9') {
            if (++digits > kMaxDigits)
                return false;
            parts[part] = parts[part] * 10 + uint32_t(c - '0');
        } else {
            return false;
        }
    }
    return digits > 0;
}

} // namespace

VersionOrder CompareVersions(const std::string& version, const std::string& reference)
{
    Parts a, b;
    if (!Parse(version, a) || !Parse(reference, b))
        return VersionOrder::Unparsable;
    return a < b ? VersionOrder::Lower : a == b ? VersionOrder::Equal : VersionOrder::Higher;
}

bool IsParsableVersion(const std::string& version)
{
    Parts parts;
    return Parse(version, parts);
}

bool PassesRollbackGuard(const std::string& offered, const std::string& highestStarted)
{
    if (highestStarted.empty())
        return IsParsableVersion(offered);
    const VersionOrder order = CompareVersions(offered, highestStarted);
    return order == VersionOrder::Equal || order == VersionOrder::Higher;
}
