#include <gtest/gtest.h>

#include <string>

#include "version_order.h"

namespace {

TEST(CompareVersions, DottedDecimalNumbers)
{
    const struct {
        const char* version;
        const char* reference;
        VersionOrder order;
    } rows[] = {
        {"2.0.0.1", "2.0.0.1", VersionOrder::Equal},
        {"2.0.0.0", "2.0.0.1", VersionOrder::Lower},
        {"2.0.1", "2.0.0.9", VersionOrder::Higher},
        {"1.10", "1.9", VersionOrder::Higher}, // numbers, not text
        {"1.2", "1.2.0", VersionOrder::Equal},
        {"1.2", "1.2.0.1", VersionOrder::Lower},
        {"1.02", "1.2", VersionOrder::Equal},
        {"0", "0.0.0.0", VersionOrder::Equal},
        {"999999999.0", "1", VersionOrder::Higher},
        {"1.2.3.4.5", "1", VersionOrder::Unparsable},
        {"1234567890", "1", VersionOrder::Unparsable},
        {"1", "0001234567890", VersionOrder::Unparsable}, // leading zeros count against the 9 digits
        {"", "1", VersionOrder::Unparsable},
        {"1..2", "1", VersionOrder::Unparsable},
        {"1.2.", "1", VersionOrder::Unparsable},
        {".1", "1", VersionOrder::Unparsable},
        {"v2.0", "1", VersionOrder::Unparsable},
        {"2.0-beta", "1", VersionOrder::Unparsable},
        {"2.0 ", "1", VersionOrder::Unparsable},
        {"+2", "1", VersionOrder::Unparsable},
        {"1", "", VersionOrder::Unparsable},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CompareVersions(row.version, row.reference), row.order) << row.version << " / " << row.reference;
}

// A lower version than the highest started is refused; the same is allowed,
// so that an interrupted install can be retried; an offer that does not
// parse is refused even without a record.
TEST(PassesRollbackGuard, NeverBelowWhatWasStarted)
{
    const struct {
        const char* offered;
        const char* highestStarted;
        bool passes;
    } rows[] = {
        {"2.0.0.1", "", true},         {"2.0.0.1", "2.0.0.1", true},  {"2.0.0.2", "2.0.0.1", true},
        {"2.0.0.0", "2.0.0.1", false}, {"1.9", "1.10", false},        {"2.0", "2.0.0.0", true},
        {"2.0-rc", "", false},         {"2.0.0.1", "garbled", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PassesRollbackGuard(row.offered, row.highestStarted), row.passes)
            << row.offered << " after " << row.highestStarted;
}

} // namespace
