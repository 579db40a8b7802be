#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/command_dispatch.h"
#include "app/main_window_logic.h"
#include "base/temp_folder.h"
#include "unit/app/sim_bench.h"

namespace velmar {
namespace {

using Lines = std::vector<std::string>;

// Records the windows opened; the settings window runs the real load or save.
struct RecordingView : MainWindowView {
  explicit RecordingView(Session& s) : session(s) {}
  void RunSettingsWindow(SettingsMode mode) override {
    const bool load = mode == SettingsMode::Load;
    events.push_back(load ? "Load" : "Save");
    load ? session.settings.Load(session.ui, session.clock)
         : session.settings.Save(session.ui, session.clock);
  }
  void ShowProgramInformation(const std::string&, const std::string&) override {}
  void ShowAbout() override {}
  bool ShowSetupPages(SetupPageValues& values) override {
    events.push_back("Setup Pages|" + values.SERIALNO + "|" + values.SEATINGFORCE);
    return false;
  }
  void ShowFaultLogDialog() override { events.push_back("Fault Log"); }
  void ShowFaultFileDialog() override { events.push_back("Fault File"); }
  void RunFaultUploadStatus() override { events.push_back("Upload Status"); }
  void ShowStatusMonitor() override { events.push_back("Status Monitor"); }
  void ShowDiagnosticTest() override { events.push_back("Diagnostic Test"); }
  void ShowMemoryDialog() override { events.push_back("Memory"); }
  void ShowCountsToTemperature() override { events.push_back("Counts To Temperature"); }
  void ShowFaultConfiguration(FaultConfigEditor& editor) override {
    events.push_back(editor.viewOnly ? "Fault Config|view-only" : "Fault Config|full access");
  }
  Session& session;
  Lines events;
};

// The main window without widgets, over an in-process actuator and a private settings folder.
struct WindowFixture {
  explicit WindowFixture(const ActuatorState& state = {}, const char* database = VELMAR_DEMO_DB)
      : actuator(state), logic(session, poll, view, database) {
    poll.onRunningChanged = [this](bool start) { pollSwitches.push_back(start); };
    logic.Initialise();
  }
  // Starts up, lets the poll learn the actuator's frame mode and forgets what that showed.
  void Started() {
    ASSERT_EQ(logic.StartUp(), WindowAction::Stay);
    for (int tick = 0; tick < 2; ++tick) {
      clock.Advance(CommunicationPoll::kIntervalMs);
      poll.Tick();
    }
    clock.sleeps.clear();
    ui.events.clear();
    view.events.clear();
    pollSwitches.clear();
  }

  TempFolder settingsHome;
  test::VirtualClock clock;
  SimulatedActuator actuator;
  test::SimSerialDriver driver{actuator, clock};
  test::RecordingUi ui;
  Session session{driver, clock, ui, settingsHome.Path().string()};
  CommunicationPoll poll{session};
  RecordingView view{session};
  MainWindowLogic logic;
  CommandDispatch dispatch{session, poll, logic, view};
  std::vector<bool> pollSwitches;
};

using test::Actuator;

const std::string kBadChecksum = "Error|Setup Com Error|Setup data checksum is invalid!";
const std::string kWarning = "Warning|Program Error|";
const std::string kNotReset = kWarning + "Actuator must be in RESET state to ";

TEST(MainWindowStartUp, RunsSettingsPortConfigurationAndPoll) {
  WindowFixture f;
  EXPECT_EQ(f.logic.StartUp(), WindowAction::Stay);
  EXPECT_EQ(f.view.events, Lines{"Load"});
  EXPECT_EQ(f.ui.Messages(), Lines{});
  EXPECT_TRUE(f.driver.isOpen);
  EXPECT_EQ(f.driver.baud, 19200);
  EXPECT_TRUE(f.poll.comIndicatorsEnabled);  // the default file has OPTIONS 3
  EXPECT_EQ(f.pollSwitches, std::vector<bool>{true});
  EXPECT_EQ(f.logic.Caption(), "Version " + f.logic.versionText);
  EXPECT_FALSE(f.session.configList->labels.empty());
}

TEST(MainWindowStartUp, NoConfigurationDatabaseEndsTheProgramThroughTheShutdown) {
  WindowFixture f({}, "/nonexistent/config.db");
  EXPECT_EQ(f.logic.StartUp(), WindowAction::Close);
  EXPECT_EQ(f.ui.Messages(), Lines{kWarning + "Error initializing configuration options menu, "
                                              "check configuration database."});
  EXPECT_EQ(f.view.events, (Lines{"Load", "Save"}));
  EXPECT_FALSE(f.driver.isOpen);
  EXPECT_EQ(f.ui.details, Lines{"Configuration database: /nonexistent/config.db\nReason: No such "
                                "file or directory"});
}

// The port's explanation of a failed open goes with the message as its detail.
TEST(MainWindowStartUp, APortThatCannotBeOpenedIsExplainedInTheMessagesDetail) {
  WindowFixture f;
  f.driver.openResult = -4;
  f.driver.lastError = "Device: /dev/ttyS0\nReason: Device or resource busy";
  EXPECT_EQ(f.logic.StartUp(), WindowAction::Close);
  EXPECT_EQ(f.ui.Messages(), Lines{"Error|Communication Initialization|" +
                                   std::string(MainWindowLogic::kPortOpenFailureText)});
  EXPECT_EQ(f.ui.details, Lines{f.driver.lastError});
}

TEST(MainWindow, PortChangeReopensAt19200AndComIndicatorsFollowOptionsBitZero) {
  WindowFixture f;
  f.Started();
  f.session.settings.baud = "57600";
  f.logic.ChangePort(0);  // COM 1 is in use already
  EXPECT_TRUE(f.pollSwitches.empty());
  f.logic.ChangePort(2);
  EXPECT_EQ(f.session.settings.port, "3");
  EXPECT_EQ(f.session.link.LinkPort(), 3);
  EXPECT_EQ(f.driver.baud, 19200);
  EXPECT_EQ(f.clock.LongSleeps(), std::vector<int>{100});
  EXPECT_EQ(f.pollSwitches, (std::vector<bool>{false, true}));
  // Answering No is the GUI test's.
  f.session.settings.options = "65536";  // kept to 16 bits
  f.ui.answers.push_back(Answer::Yes);
  f.dispatch.Dispatch(MainCommand::ComIndicators);
  EXPECT_EQ(f.ui.Messages(), Lines{"Question|Com Status Enable|Enable Com Status indicators?"});
  EXPECT_TRUE(f.poll.comIndicatorsEnabled);
  EXPECT_EQ(f.session.settings.options, "1");
}

TEST(CommandDispatch, ChecksBeforeEachCommandAndRestartsThePoll) {
  const ActuatorState v310 = Actuator(0x30A), v205 = Actuator(0x205), v105 = Actuator(0x105);
  const ActuatorState running = Actuator(0x30A, ModeState::kRunOn);
  using enum MainCommand;
  // Command, actuator, whether it is silent, the one message shown.
  const std::tuple<MainCommand, ActuatorState, bool, std::string> cases[] = {
      {FirmwareVersion, v310, true,
       "Error|Firmware Version|No response to version number request."},
      {RunTimeHours, v310, true,
       kWarning + "Actuator failed to respond to firmware version request."},
      // A blank simulated memory holds no valid setup.
      {UploadSetup, v310, false, kBadChecksum},
      {UploadSetup, running, false, kNotReset + "upload setup parameters."},
      {UploadSetup, Actuator(0x105, ModeState::kRunOn), false, kBadChecksum},  // no status asked
      // The poll has read the version: only the status request goes unanswered.
      {UploadSetup, v310, true, kWarning + "Actuator failed to respond to status request."},
      {DownloadSetup, v310, false,
       kWarning + "Cannot download configuration with serial number of 0."},
      {StatusMonitor, v105, false,
       kWarning + "Real time status monitoring requires v2.0 or later firmware."},
      {IdentificationCheck, running, false, kNotReset + "run identification check."},
      {FaultInformation, v105, false,
       kWarning +
           "Firmware versions prior to v2.00 are not compatible with this version of Velmar."},
      {FaultInformation, running, false, kNotReset + "upload fault information."},
      {FaultFileReport, running, false, kNotReset + "upload fault information."},  // from 3.00
      {SaveFaultFile, running, false, kNotReset + "upload fault information."},    // from 3.00
      {ClearFaultInformation, running, false, kNotReset + "clear fault information."},
      {FaultConfiguration, v205, false,
       kWarning + "Configurable faults not supported by this firmware version."},
      {ResetRunHours, v310, false, "Error|Reset Run Hours Status|Feature not available."},
      {MemoryReadWrite, v310, false, "Error|Program Status|Feature not available."},
  };
  for (const auto& [command, actuator, silent, message] : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(command) << ": " << message);
    WindowFixture f(actuator);
    f.Started();
    f.actuator.DropReplies(silent ? 1000 : 0);
    EXPECT_EQ(f.dispatch.Dispatch(command), WindowAction::Stay);
    EXPECT_EQ(f.ui.Messages(), Lines{message});
    EXPECT_EQ(f.pollSwitches, (std::vector<bool>{false, true}));
  }
}

TEST(CommandDispatch, MonitoringWindowsAndServiceCommands) {
  const ActuatorState v310 = Actuator(0x30A);
  using enum MainCommand;
  const std::string question =
      "Question|Download Configuration Parameters|This command will reset the Run Time Hours to "
      "0. Are you sure?";
  const std::string status = "Information|Reset Run Hours Status|";
  struct Case {
    MainCommand command;
    ActuatorState actuator;
    bool serviceMode;
    Answer answer;
    Lines messages;
    Lines windows;
    uint32_t runHoursAfter;
  };
  const Case cases[] = {
      {StatusMonitor, v310, false, Answer::No, {}, {"Status Monitor"}, 77},
      {IdentificationCheck, v310, false, Answer::No, {}, {"Diagnostic Test"}, 77},
      {IdentificationCheck,
       Actuator(0x105, ModeState::kRunOn),
       false,
       Answer::No,
       {},
       {"Diagnostic Test"},
       77},  // no RESET check before 2.00
      {ResetRunHours,
       v310,
       false,
       Answer::Yes,
       {"Error|Reset Run Hours Status|Feature not available."},
       {},
       77},
      {ResetRunHours,
       v310,
       true,
       Answer::No,
       {question, status + "Run Hours reset aborted by user."},
       {},
       77},
      {ResetRunHours,
       v310,
       true,
       Answer::Yes,
       {question, status + "Run Hours reset successfully."},
       {},
       0},
      {ResetRunHours,
       Actuator(0x201),
       true,
       Answer::Yes,
       {kWarning + "Run Hours feature not supported by this firmware version."},
       {},
       77},
      {MemoryReadWrite, v310, true, Answer::No, {}, {"Memory"}, 77},
      {MemoryButton, v310, false, Answer::No, {}, {}, 77},
      {MemoryButton, v310, true, Answer::No, {}, {"Memory"}, 77},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.command) << " service " << c.serviceMode);
    WindowFixture f(c.actuator);
    f.actuator.State().runHours = 77;
    f.Started();
    const size_t requestsBefore = f.actuator.ReceivedCodes().size();
    f.session.serviceMode = c.serviceMode;
    f.ui.answers.push_back(c.answer);
    f.dispatch.Dispatch(c.command);
    EXPECT_EQ(f.ui.Messages(), c.messages);
    EXPECT_EQ(f.view.events, c.windows);
    EXPECT_EQ(f.actuator.State().runHours, c.runHoursAfter);
    if (!c.serviceMode && c.command != StatusMonitor && c.command != IdentificationCheck) {
      EXPECT_EQ(f.actuator.ReceivedCodes().size(), requestsBefore);  // nothing sent
    }
  }
}

TEST(CommandDispatch, ServiceKeysNeedServiceModeAndDeclinedIndicators) {
  struct Case {
    bool serviceMode;
    bool declined;
    char key;
    bool handled;
    Lines windows;
  };
  const Case cases[] = {
      {true, true, '^', true, {"Counts To Temperature"}},
      {true, true, '>', true, {"Memory"}},
      {true, true, 'x', false, {}},
      {true, false, '^', false, {}},
      {false, true, '>', false, {}},
  };
  for (const Case& c : cases) {
    WindowFixture f;
    f.Started();
    f.session.serviceMode = c.serviceMode;
    if (c.declined) {
      f.dispatch.Dispatch(MainCommand::ComIndicators);  // answered No
    }
    f.ui.events.clear();
    EXPECT_EQ(f.dispatch.ServiceKey(c.key), c.handled) << c.key;
    EXPECT_EQ(f.view.events, c.windows) << c.key;
  }
  // "!" runs the reset command: its question comes up.
  WindowFixture f;
  f.Started();
  f.session.serviceMode = true;
  f.dispatch.Dispatch(MainCommand::ComIndicators);
  f.ui.answers.push_back(Answer::Yes);  // turns the indicators back on: the flag stays
  f.dispatch.Dispatch(MainCommand::ComIndicators);
  f.ui.events.clear();
  EXPECT_TRUE(f.dispatch.ServiceKey('!'));
  EXPECT_EQ(f.ui.Messages(),
            (Lines{"Question|Download Configuration Parameters|This command will reset the Run "
                   "Time Hours to 0. Are you sure?",
                   "Information|Reset Run Hours Status|Run Hours reset aborted by user."}));
}

TEST(CommandDispatch, FileBoxesSetupFileRoundTripAndUploadIntoTheSetupPages) {
  WindowFixture f(Actuator(0x205));
  f.Started();
  f.dispatch.Dispatch(MainCommand::SaveFaultFile);  // before 3.00 a file box
  f.dispatch.Dispatch(MainCommand::LoadSetupFile);
  f.dispatch.Dispatch(MainCommand::SaveSetupFile);
  Lines boxes;
  for (const FileBoxRequest& box : f.ui.fileRequests) {
    boxes.push_back(box.initialName + "|" + box.defaultExtension + "|" + box.filter +
                    (box.overwritePrompt ? "|ask" : ""));
  }
  EXPECT_EQ(boxes,
            (Lines{"Faults.rpt|RPT|Actuator Fault Files (*.rpt)|*.RPT|All Files (*.*)|*.*|||ask",
                   "*.CFG|CFG|Actuator Setup Files (*.cfg)|*.CFG|All Files (*.*)|*.*||",
                   "Velmar.cfg|CFG|Actuator Setup Files (*.cfg)|*.CFG|All Files (*.*)|*.*|||ask"}));
  // Every box was cancelled; then a setup file saved and loaded back.
  const std::string path = (f.settingsHome.Path() / "unit.cfg").string();
  f.ui.filePaths = {path, path};
  f.dispatch.Dispatch(MainCommand::SaveSetupFile);
  SetField(f.session.setup.OrvikPartNo, "changed");
  f.dispatch.Dispatch(MainCommand::LoadSetupFile);
  EXPECT_EQ(f.ui.Messages(), Lines{});
  EXPECT_STREQ(f.session.setup.OrvikPartNo, "1045210-001");

  f.dispatch.Dispatch(MainCommand::UploadSetup);
  // Before 3.10 the pages offer the default seating force.
  EXPECT_EQ(f.view.events, Lines{"Setup Pages|12345|1000"});
  EXPECT_EQ(f.session.serialNumber, "12345");
}

TEST(CommandDispatch, FaultCommandsChooseLogOrFileByFirmware) {
  const ActuatorState v310 = Actuator(0x300);
  const ActuatorState v205 = Actuator(0x205);
  using enum MainCommand;
  struct Case {
    MainCommand command;
    ActuatorState actuator;
    const char* options;  // the OPTIONS setting
    Lines windows;
    Lines messages;
    bool printed;
  };
  const std::string kCleared = "Information|Clear Faults|Clear faults procedure successful.";
  const std::string kNoData = "Information|View Fault File|No Fault File data to upload.";
  const std::string kErase = "Question|Verify Fault Log Erase|Erase all Fault Log Records?";
  const Case cases[] = {
      {FaultInformation, v310, "1", {"Fault Log"}, {}, false},
      {FaultInformation, v205, "1", {"Fault File"}, {}, false},
      {SaveFaultFile, v310, "1", {"Fault Log"}, {}, false},
      {FaultFileReport, v310, "1", {"Fault Log"}, {}, false},
      {FaultFileReport, v205, "1", {}, {}, true},         // no upload
      {FaultFileReport, v205, "3", {}, {kNoData}, true},  // blank memory: no file
      {ClearFaultInformation, v205, "1", {}, {kCleared}, false},
      {ClearFaultInformation, v310, "1", {}, {kErase}, false},  // answered No
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.command) << " " << c.options);
    WindowFixture f(c.actuator);
    f.Started();
    f.session.settings.options = c.options;
    f.dispatch.Dispatch(c.command);
    EXPECT_EQ(f.view.events, c.windows);
    EXPECT_EQ(f.ui.Messages(), c.messages);
    EXPECT_EQ(!f.ui.events.empty() && f.ui.events.back().starts_with("Print|"), c.printed);
  }
}

TEST(CommandDispatch, FaultFileReportUploadsAnimatesAndSaves) {
  WindowFixture f(Actuator(0x205));
  f.Started();
  // 2024-03-15 08:09:10, flags 0x0002.
  const uint16_t file[] = {2024, 3, 0x0F08, 0x090A, 0x0205, 0x0002};
  for (size_t word = 0; word < std::size(file); ++word) {
    f.actuator.Memory().SetWord(0x200 + word, file[word]);
  }
  f.session.settings.options = "2";
  f.dispatch.Dispatch(MainCommand::FaultFileReport);
  EXPECT_EQ(f.view.events, Lines{"Upload Status"});
  ASSERT_TRUE(f.ui.events.back().starts_with("Print|"));
  EXPECT_NE(f.ui.events.back().find("\tDate :\t\t\t03-15-2024\n\tTime :\t\t\t08:09:10\n"),
            std::string::npos);
  EXPECT_NE(f.ui.events.back().find("\n\tTracking Error :\t\tFAULT\n"), std::string::npos);

  const std::string path = (f.settingsHome.Path() / "Faults.rpt").string();
  f.ui.filePaths = {path};
  f.dispatch.Dispatch(MainCommand::SaveFaultFile);
  std::ifstream saved(path, std::ios::binary);
  std::string first;
  std::getline(saved, first);
  EXPECT_EQ(first, "Fault File Report\r");
  EXPECT_EQ(f.ui.Messages(), Lines{});
}

TEST(CommandDispatch, FaultConfigurationOpensItsDialogViewOnlyOutsideServiceMode) {
  WindowFixture f(Actuator(0x206));
  f.Started();
  f.dispatch.Dispatch(MainCommand::FaultConfiguration);
  f.session.serviceMode = true;
  f.dispatch.Dispatch(MainCommand::FaultConfiguration);
  EXPECT_EQ(f.ui.Messages(), Lines{});
  EXPECT_EQ(f.view.events, (Lines{"Fault Config|view-only", "Fault Config|full access"}));
}

// Exit arriving while an operation waits on the link (the desktop clock lets window events in):
// the port stays open and the settings unsaved until the operation ends; then the program ends
// once, and the poll never starts again.
TEST(MainWindow, ExitDuringAnOperationWaitsForItsEnd) {
  const struct {
    const char* name;
    std::function<WindowAction(WindowFixture&)> run;
    bool portOpenDuringWait;  // the port change waits between closing and reopening
  } cases[] = {
      {"command", [](WindowFixture& f) { return f.dispatch.Dispatch(MainCommand::RunTimeHours); },
       true},
      {"port change",
       [](WindowFixture& f) { return f.logic.RunOperation([&f] { f.logic.ChangePort(2); }); },
       false},
      {"poll tick", [](WindowFixture& f) { return f.logic.RunOperation([&f] { f.poll.Tick(); }); },
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WindowFixture f;
    f.Started();
    f.poll.pollState = 1;  // the tick listens, and so waits
    std::vector<WindowAction> exits;
    bool portOpenAtExit = !c.portOpenDuringWait;
    f.clock.onSleep = [&](int) {
      if (exits.empty()) {
        portOpenAtExit = f.driver.isOpen;
        exits.push_back(f.dispatch.Dispatch(MainCommand::Exit));
        // Nothing else starts inside the running operation.
        exits.push_back(f.dispatch.Dispatch(MainCommand::FirmwareVersion));
        EXPECT_TRUE(f.view.events.empty());
      }
    };

    EXPECT_EQ(c.run(f), WindowAction::Close);

    f.clock.onSleep = nullptr;
    EXPECT_EQ(exits, (std::vector<WindowAction>{WindowAction::Stay, WindowAction::Stay}));
    EXPECT_EQ(portOpenAtExit, c.portOpenDuringWait);
    EXPECT_FALSE(f.driver.isOpen);
    EXPECT_EQ(f.view.events, Lines{"Save"});
    EXPECT_EQ(std::count(f.pollSwitches.begin(), f.pollSwitches.end(), true), 0);
    EXPECT_FALSE(f.poll.running);
    // After the shutdown nothing runs, and a second Exit saves nothing again.
    const std::size_t sent = f.driver.writes.size();
    EXPECT_EQ(f.dispatch.Dispatch(MainCommand::FirmwareVersion), WindowAction::Stay);
    EXPECT_EQ(f.dispatch.Dispatch(MainCommand::Exit), WindowAction::Close);
    EXPECT_EQ(f.driver.writes.size(), sent);
    EXPECT_EQ(f.view.events, Lines{"Save"});
    EXPECT_FALSE(f.poll.running);
  }
}

}  // namespace
}  // namespace velmar
