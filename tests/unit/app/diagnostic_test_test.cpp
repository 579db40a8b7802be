#include "app/diagnostic_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "unit/app/sim_bench.h"

namespace velmar {
namespace {

using Lines = std::vector<std::string>;

// The identification check over an in-process actuator whose version the main window has read.
struct DiagnosticFixture : test::SimBench {
  explicit DiagnosticFixture(FrameMode mode, int version = 0x30A)
      : SimBench(test::Actuator(version, ModeState::kReset, mode)) {
    EXPECT_EQ(session.VerifyCommunication(), 0);
    test.onStatusLine = [this] { statusLines.push_back(test.statusLine); };
  }
  // Starts a run and drives its one-shot timer to the end; `afterTick` runs after each step.
  void Run(const std::function<void(int)>& afterTick = nullptr) {
    test.StartTest();
    for (int step = 1; test.timerRunning; ++step) {
      clock.Advance(DiagnosticTest::kStepMs);
      test.Tick();
      bars.push_back(test.bar);
      if (afterTick) {
        afterTick(step);
      }
    }
  }
  std::string Edits() const {
    std::string edits;
    for (const std::string& text : test.resultTexts) {
      edits += "[" + text + "]";
    }
    return edits;
  }
  DiagnosticTest test{session};
  Lines statusLines;
  std::vector<int> bars;
};

TEST(DiagnosticTest, AHealthyCrcActuatorPassesEveryCheck) {
  DiagnosticFixture f(FrameMode::kCrc);
  f.Run();
  EXPECT_EQ(f.statusLines,
            (Lines{"Executing Communications Test...", "Communications Test passed.",
                   "Executing Setup Parameters Integrity Test...",
                   "Setup Parameters Integrity Test passed.", "Executing Active Fault Test...",
                   "Active Fault Test passed.", "Executing Voltage Test...", "Voltage Test passed.",
                   "Executing Motor Temperature Test...", "Motor Temperature Test passed.",
                   "Executing Electronics Temperature Test...",
                   "Electronics Temperature Test passed.", "Executing Fault File test...",
                   "Fault File Test passed.", "All Diagnostic Tests passed."}));
  EXPECT_EQ(f.Edits(), "[OK    ][OK    ][OK    ][OK    ][OK    ][OK    ][OK    ]");
  EXPECT_EQ(f.bars, (std::vector<int>{14, 28, 42, 56, 70, 84, 100}));
  EXPECT_TRUE(f.test.Passed());
  EXPECT_TRUE(f.ui.events.empty());  // no box during a run
}

TEST(DiagnosticTest, OutcomesOfFailingAndSkippedChecks) {
  struct Case {
    const char* name;
    FrameMode mode;
    int version;
    void (*arrange)(SimulatedActuator&);
    std::string edits;
    std::string verdict;
  };
  const Case cases[] = {
      {"sum mode skips the status checks", FrameMode::kSum, 0x205,
       [](SimulatedActuator& a) {
         for (int word = 0x200; word < 0x204; ++word) {
           a.Memory().SetWord(word, 0xFFFF);
         }
       },
       "[OK    ][OK    ][N/A    ][N/A   ][N/A   ][N/A   ][OK    ]", "All Diagnostic Tests passed."},
      {"sum mode with a fault recorded on a blank date", FrameMode::kSum, 0x205,
       [](SimulatedActuator&) {}, "[OK    ][OK    ][N/A    ][N/A   ][N/A   ][N/A   ][FAILED]",
       "Diagnostic Test failed!"},
      {"an active fault fails its check, the others still run", FrameMode::kCrc, 0x30A,
       [](SimulatedActuator& a) { a.State().status.faultBits = 0x0001; },
       "[OK    ][OK    ][FAILED][OK    ][OK    ][OK    ][OK    ]", "Diagnostic Test failed!"},
      {"a low -14 V supply", FrameMode::kCrc, 0x30A,
       [](SimulatedActuator& a) { a.State().status.minus14V = 700; },
       "[OK    ][OK    ][OK    ][FAILED][OK    ][OK    ][OK    ]", "Diagnostic Test failed!"},
      {"a fault logged from 3.00", FrameMode::kCrc, 0x30A,
       [](SimulatedActuator& a) { a.Memory().SetWord(0x301, 4); },
       "[OK    ][OK    ][OK    ][OK    ][OK    ][OK    ][FAILED]", "Diagnostic Test failed!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DiagnosticFixture f(c.mode, c.version);
    c.arrange(f.actuator);
    f.Run();
    EXPECT_EQ(f.Edits(), c.edits);
    EXPECT_EQ(f.statusLines.back(), c.verdict);
  }
}

TEST(DiagnosticTest, LostStatusRepliesFailTheStatusChecks) {
  DiagnosticFixture f(FrameMode::kCrc);
  f.Run([&f](int step) {
    if (step == 2) {
      f.actuator.DropReplies(5);  // the five status requests of the active-fault check
    }
  });
  EXPECT_EQ(f.Edits(), "[OK    ][OK    ][FAILED][FAILED][FAILED][FAILED][OK    ]");
  EXPECT_FALSE(f.test.statusValid);
  EXPECT_EQ(f.statusLines.back(), "Diagnostic Test failed!");
}

TEST(DiagnosticTest, CommunicationsAndIntegrityFailuresEndTheRun) {
  for (bool nak : {false, true}) {
    SCOPED_TRACE(nak ? "a negative acknowledge to the integrity check" : "a silent actuator");
    DiagnosticFixture f(FrameMode::kCrc);
    if (nak) {
      f.Run([&f](int step) {
        if (step == 1) {
          f.actuator.NakNextRequest();
        }
      });
    } else {
      f.actuator.DropReplies(1000);
      f.Run();
    }
    const std::string failed =
        nak ? "Setup Parameters Integrity Test failed!" : "Communications Test failed!";
    EXPECT_EQ(f.statusLines.end()[-2], failed);
    EXPECT_EQ(f.statusLines.back(), "Diagnostic Test failed!");
    EXPECT_EQ(f.bars.back(), 100);
    EXPECT_EQ(f.test.results, (nak ? DiagnosticResults{1, 0, -1, -1, -1, -1, -1}
                                   : DiagnosticResults{0, -1, -1, -1, -1, -1, -1}));
    // The negative acknowledge ends the check at once: one request, no identification read.
    if (nak) {
      const auto& codes = f.actuator.ReceivedCodes();
      EXPECT_EQ(std::count(codes.begin(), codes.end(), 0x0B), 1);
      EXPECT_EQ(std::count(codes.begin(), codes.end(), 0x0C), 0);
    }
  }
}

TEST(DiagnosticTest, StopAbortsAndPrintBeforeAnyRunShowsNothingTested) {
  DiagnosticFixture f(FrameMode::kCrc);
  f.test.StopTest();  // idle: nothing happens
  EXPECT_TRUE(f.statusLines.empty());
  f.Run([&f](int step) {
    if (step == 3) {
      f.test.StopTest();
    }
  });
  EXPECT_EQ(f.statusLines.back(), "Diagnostic Test aborted by user!");
  EXPECT_EQ(f.bars.size(), 3u);
  EXPECT_EQ(f.test.bar, 100);
  EXPECT_EQ(f.test.results, (DiagnosticResults{1, 1, 1, -1, -1, -1, -1}));

  DiagnosticFixture idle(FrameMode::kCrc);
  idle.test.Print();
  ASSERT_EQ(idle.ui.events.size(), 1u);
  const std::string& printed = idle.ui.events[0];
  EXPECT_EQ(printed.rfind("Print|\n\n\n\tActuator Diagnostic Test Results\n\n\tDate :", 0), 0u);
  EXPECT_NE(printed.find("\tCommunication Test :\t\t\tNOT TESTED\n"), std::string::npos);
  EXPECT_NE(printed.find("\tFault File Test :\t\t\t\tNOT TESTED\n"), std::string::npos);
}

}  // namespace
}  // namespace velmar
