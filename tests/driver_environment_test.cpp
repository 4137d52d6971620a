// The environment leaves the output alone: the same bytes under other locales, and the same
// output and status when the history file cannot be written.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

#include "driver_harness.h"

namespace fexpr::testing {
namespace {

// Every function name in upper case, Pi in each case, and texts a locale could print in its
// own way (decimal commas, digit groups, exponents).
const std::string language_lines =
    "PI\nPi\npi\npI\nSIN(1)\nCOS(1)\nTAN(1)\nSQRT(2)\nARCSIN(0.5)\nARCCOS(0.5)\nARCTAN(1)\n"
    "LG(2)\nLN(2)\nEXP(1)\nCEIL(1.5)\nFLOOR(1.5)\nROUND(2.5)\nSIGN(0-3)\nABS(0-3)\nD2R(180)\n"
    "R2D(1)\nIPI\n,1234567.891 .2\n_1234567.891\n1.5e300*1e10 e3\n1/3 g4\n0x1F+0B101 x_\n"
    "90061.5 :\nsqrt(0-1)\nshiftLL000701(13)\n";

std::vector<run_request> requests() {
    std::vector<run_request> list;
    list.emplace_back(std::vector<std::string>{"--each"}, language_lines);
    list.emplace_back(std::vector<std::string>{"--each=tsv", ".3"}, language_lines);
    list.emplace_back(std::vector<std::string>{"--sum"}, "PI\nSQRT(4)\n,1.5\n");
    list.emplace_back(std::vector<std::string>{}, language_lines);
    list.emplace_back(std::vector<std::string>{"ARCTAN(1)*4", "g10"});
    list.emplace_back(std::vector<std::string>{"PI"});
    list.emplace_back(std::vector<std::string>{",1234567.891", ".2"});
    list.emplace_back(std::vector<std::string>{"--help"});
    run_request data_file{{"C:\\Data\\data.txt"}};
    data_file.data_file = "PI\nLN(2)\n";
    list.push_back(data_file);
    return list;
}

void expect_same_output(const std::vector<std::string>& environment, const char* name) {
    for (run_request request : requests()) {
        const run_outcome plain = run_fexpr(request);
        request.environment = environment;
        const run_outcome other = run_fexpr(request);
        const std::string label = name + ::testing::PrintToString(request.arguments);
        EXPECT_EQ(other.out, plain.out) << label;
        EXPECT_EQ(other.err, plain.err) << label;
        EXPECT_EQ(other.status, plain.status) << label;
    }
}

TEST(Environment, LocalesChangeNoByte) {
    // The expected texts themselves, so that an unnoticed change in all runs still shows.
    EXPECT_EQ(run_fexpr(run_request{{"--each"}, "PI\npi\nSIN(PI/6)\n,1234.5\n"}).out,
              "3.14159265358979\n3.14159265358979\n0.5\n1,234.5\n");
    for (const char* locale : {"de_DE.UTF-8", "tr_TR.UTF-8"}) {
        if (std::setlocale(LC_ALL, locale) == nullptr) {
            // CI never counts a test that did not run.
            const char* ci = std::getenv("CI");
            if (ci != nullptr && std::strcmp(ci, "true") == 0) FAIL() << locale << " is missing";
            GTEST_SKIP() << locale << " is not installed (scripts/install-deps locales)";
        }
        std::setlocale(LC_ALL, "C");
        const std::string all = std::string("LC_ALL=") + locale;
        expect_same_output({all, std::string("LANG=") + locale}, locale);
    }
}

TEST(Environment, UnwritableHistoryChangesNothing) {
    // A state folder below a regular file can be neither created nor written.
    expect_same_output({"XDG_STATE_HOME=/dev/null/state"}, "XDG_STATE_HOME ");
    expect_same_output({"XDG_STATE_HOME=", "HOME=/proc/version"}, "HOME ");
}

}  // namespace
}  // namespace fexpr::testing
