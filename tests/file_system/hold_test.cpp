#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "file_system/hold_wait.h"
#include "file_system/holder_naming.h"

namespace vestro::testing {
namespace {

using std::chrono::milliseconds;

// Answers hold (1) until told otherwise, on a clock that moves only when slept on.
struct HeldCall {
    HoldWait wait{milliseconds(10'000), [this] { return HoldWait::Clock::time_point(slept); },
                  [this](milliseconds pause) {
                      pauses.push_back(pause);
                      slept += pause;
                  }};
    milliseconds slept{0};
    std::vector<milliseconds> pauses;
    int calls = 0;

    int Run(const std::vector<int>& answers = {}) {
        auto answer = [&] { return ++calls <= std::ssize(answers) ? answers[calls - 1] : 1; };
        return RetryWhileHeld(wait, answer, [](int answer) { return answer == 1; });
    }
};

// A hold is tried again with growing pauses until the bound, and nothing else is. The items of a
// step share one bound, started by the first hold; a step without waiting tries each item once.
TEST(HoldWaitTest, AHoldIsWaitedForUntilItsBoundOncePerStep) {
    HeldCall brief;
    EXPECT_EQ(0, brief.Run({1, 1, 0}));
    EXPECT_EQ(3, brief.calls);
    EXPECT_LE(brief.pauses.at(0), milliseconds(10));
    EXPECT_GT(brief.pauses.at(1), brief.pauses.at(0));

    HeldCall lasting;
    EXPECT_EQ(1, lasting.Run());
    EXPECT_EQ(milliseconds(10'000), lasting.slept);
    EXPECT_TRUE(lasting.calls > 10 && lasting.calls < 100) << lasting.calls;

    HeldCall other;
    EXPECT_EQ(2, other.Run({2}));
    EXPECT_EQ(1, other.calls);

    HeldCall items;
    StepHoldBound step, atOnce(false);
    items.wait.step = &step;
    for (int item = 0; item < 5; ++item) {
        EXPECT_EQ(1, items.Run());
    }
    EXPECT_EQ(milliseconds(10'000), items.slept);
    items.wait.step = &atOnce;
    const int calls = items.calls;
    EXPECT_EQ(1, items.Run());
    EXPECT_EQ(calls + 1, items.calls);
    EXPECT_EQ(milliseconds(10'000), items.slept);
}

// Answers as told, and keeps count of its open sessions.
struct FakeRestartManager final : RestartManager {
    using Holders = std::optional<std::vector<HoldingProgram>>;
    explicit FakeRestartManager(Holders holders, bool starts = true, bool registers = true)
        : holders(std::move(holders)), starts(starts), registers(registers) {}

    bool StartSession() override { return starts && ++open; }
    bool RegisterFiles(const std::vector<std::wstring>& files) override {
        return registers && files == std::vector<std::wstring>{L"C:\\a.txt", L"C:\\b.txt"};
    }
    Holders ListHolders() override { return holders; }
    void EndSession() override { --open; }

    Holders holders;
    bool starts, registers;
    int open = 0;
};

TEST(HolderNamingTest, EachProgramIsNamedOnceAndNothingIsSaidWhenTheSystemCannotTell) {
    const std::vector<std::wstring> files{L"C:\\a.txt", L"C:\\b.txt"};
    const HoldingProgram tarno{L"Tarno.exe", 4242}, scanner{L"Scanner.exe", 7};
    FakeRestartManager one(std::vector{tarno, tarno});
    EXPECT_EQ(L" It is in use by Tarno.exe (process 4242); close it and try again.",
              NameHolders(one, files));
    FakeRestartManager three(std::vector{tarno, scanner, tarno, {L"Tarno.exe", 9}});
    EXPECT_EQ(
        L" It is in use by Tarno.exe (process 4242), Scanner.exe (process 7) and Tarno.exe "
        L"(process 9); close them and try again.",
        NameHolders(three, files));
    const std::vector<HoldingProgram> none, named{tarno};
    for (FakeRestartManager silent :
         {FakeRestartManager(none), FakeRestartManager(std::nullopt),
          FakeRestartManager(named, true, false), FakeRestartManager(named, false)}) {
        EXPECT_EQ(L"", NameHolders(silent, files));
        EXPECT_EQ(0, silent.open);
    }
}

}  // namespace
}  // namespace vestro::testing
