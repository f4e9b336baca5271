#include "core/servo/ErrorFormat.h"
#include "CaseNames.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>

namespace servo {
namespace {

struct FormatCase {
    double value;
    const char* text;
};

class ErrorFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ErrorFormat, MatchesTheReadoutPattern) {
    EXPECT_EQ(formatErrorReadout(GetParam().value), GetParam().text) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrorFormat,
    ::testing::Values(FormatCase{3.14159, "3.14"}, FormatCase{25, "25."}, FormatCase{-65, "-65."},
                      FormatCase{0.5, ".5"}, FormatCase{-0.25, "-.25"}, FormatCase{0, "."},
                      FormatCase{-0.0, "."}, FormatCase{123.456, "123.46"},
                      FormatCase{57.3, "57.3"}, FormatCase{338.07, "338.07"},
                      FormatCase{-52.98442, "-52.98"}, FormatCase{0.004, "."},
                      FormatCase{-0.004, "."}, FormatCase{0.006, ".01"}, FormatCase{99.999, "100."},
                      FormatCase{-99.995001, "-100."}, FormatCase{1e6, "1000000."},
                      FormatCase{12345.6, "12345.6"},
                      // exact binary halves round away from zero
                      FormatCase{0.125, ".13"}, FormatCase{-0.375, "-.38"},
                      FormatCase{2.625, "2.63"}, FormatCase{0.875, ".88"}),
    [](const auto& testCase) { return testing::numberName(testCase.param.value); });

TEST(ErrorFormatLocale, DecimalPointIgnoresTheLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "no German locale here";
    }
    EXPECT_EQ(formatErrorReadout(3.14159), "3.14");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ErrorFormatNonFinite, IsPrintedRatherThanGarbled) {
    EXPECT_EQ(formatErrorReadout(std::numeric_limits<double>::quiet_NaN()), "NaN");
    EXPECT_EQ(formatErrorReadout(-std::numeric_limits<double>::infinity()), "-Inf");
}

} // namespace
} // namespace servo
