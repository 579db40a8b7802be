#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/command_dispatch.h"
#include "app/main_window_logic.h"
#include "configdb/temp_folder.h"
#include "simulated_actuator.h"
#include "support/recording_ui.h"
#include "support/sim_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar {
namespace {

// Records the windows opened; the settings window runs the real load or save.
class RecordingView : public MainWindowView {
 public:
  explicit RecordingView(Session& session) : session_(session) {}
  void RunSettingsWindow(SettingsMode mode) override {
    events.push_back(mode == SettingsMode::Load ? "Load" : "Save");
    if (mode == SettingsMode::Load) {
      session_.settings.Load(session_.ui, session_.clock);
    } else {
      session_.settings.Save(session_.ui, session_.clock);
    }
  }
  void ShowProgramInformation(const std::string& versionText,
                              const std::string& programPartNumber) override {
    events.push_back("Program Information|" + versionText + "|" + programPartNumber);
  }
  void ShowAbout() override { events.push_back("About"); }
  bool ShowSetupPages(SetupPageValues& values) override {
    events.push_back("Setup Pages|" + values.SERIALNO + "|" + values.SEATINGFORCE);
    return false;
  }

  std::vector<std::string> events;

 private:
  Session& session_;
};

// The main window without widgets, over an in-process actuator and a private settings folder.
struct WindowFixture {
  explicit WindowFixture(const ActuatorState& state = {},
                         const std::filesystem::path& database = VELMAR_DEMO_DB)
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
  std::string SavedSettings() const {
    std::ifstream in(settingsHome.Path() / "Corvane/Quenda_2.30/velmar.ini");
    return std::string(std::istreambuf_iterator<char>(in), {});
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

ActuatorState Actuator(uint8_t major, uint8_t minor, ModeState mode = ModeState::kReset) {
  ActuatorState state;
  state.firmwareMajor = major;
  state.firmwareMinor = minor;
  state.modeState = mode;
  state.runHours = 1234;
  state.poweredHours = 4321;
  return state;
}

const std::string kNotAvailable = "Information|Program Status|This command is not available yet.";
const std::string kBadChecksum = "Error|Setup Com Error|Setup data checksum is invalid!";
const std::string kNoVersion =
    "Warning|Program Error|Actuator failed to respond to firmware version request.";

TEST(MainWindowStartUp, RunsSettingsPortConfigurationAndPoll) {
  WindowFixture f;
  EXPECT_EQ(f.logic.StartUp(), WindowAction::Stay);
  EXPECT_EQ(f.view.events, std::vector<std::string>{"Load"});
  EXPECT_TRUE(f.ui.Messages().empty());
  EXPECT_TRUE(f.driver.isOpen);
  EXPECT_EQ(f.driver.baud, 19200);
  EXPECT_TRUE(f.poll.comIndicatorsEnabled);  // the default file has OPTIONS 3
  EXPECT_EQ(f.pollSwitches, std::vector<bool>{true});
  EXPECT_TRUE(f.logic.initialised);
  EXPECT_FALSE(f.logic.versionText.empty());
  EXPECT_EQ(f.logic.Caption(), "Version " + f.logic.versionText);
  EXPECT_FALSE(f.session.configList->labels.empty());
  EXPECT_EQ(f.session.configList->selected, 0);
  EXPECT_STREQ(f.session.setup.POSCMDSRC, "1");
}

TEST(MainWindowStartUp, FailuresEndTheProgram) {
  {
    SCOPED_TRACE("a port that cannot be opened ends it without saving the settings");
    WindowFixture f;
    f.driver.openResult = -1;
    EXPECT_EQ(f.logic.StartUp(), WindowAction::Close);
    EXPECT_EQ(f.ui.Messages(),
              std::vector<std::string>{
                  "Error|Communication Initialization|Serial port initialization failed!  Verify "
                  "the port exists and that it is not\nin use by another application."});
    EXPECT_EQ(f.view.events, std::vector<std::string>{"Load"});
    EXPECT_TRUE(f.pollSwitches.empty());
    EXPECT_FALSE(f.logic.initialised);
  }
  {
    SCOPED_TRACE("no configuration database ends it through the shutdown");
    WindowFixture f({}, "/nonexistent/config.db");
    EXPECT_EQ(f.logic.StartUp(), WindowAction::Close);
    EXPECT_EQ(f.ui.Messages(),
              std::vector<std::string>{"Warning|Program Error|Error initializing configuration "
                                       "options menu, check configuration database."});
    EXPECT_EQ(f.view.events, (std::vector<std::string>{"Load", "Save"}));
    EXPECT_FALSE(f.driver.isOpen);
    EXPECT_FALSE(f.logic.initialised);
  }
}

TEST(MainWindow, ExitClosesThePortAndSavesTheSettings) {
  WindowFixture f;
  f.Started();
  f.session.settings.node = "7";
  EXPECT_EQ(f.dispatch.Dispatch(MainCommand::Exit), WindowAction::Close);
  EXPECT_FALSE(f.driver.isOpen);
  EXPECT_EQ(f.view.events, std::vector<std::string>{"Save"});
  EXPECT_NE(f.SavedSettings().find("NODE = 7\n"), std::string::npos);
  EXPECT_FALSE(f.poll.running);
}

TEST(MainWindow, PortChangeReopensAt19200AndKeepsThePortSetting) {
  WindowFixture f;
  f.Started();
  f.session.settings.baud = "57600";
  f.logic.ChangePort(0);  // COM 1 is in use already
  EXPECT_TRUE(f.pollSwitches.empty());
  EXPECT_EQ(f.clock.LongSleeps(), std::vector<int>{});

  f.logic.ChangePort(2);
  EXPECT_EQ(f.logic.comPort, 3);
  EXPECT_EQ(f.session.settings.port, "3");
  EXPECT_EQ(f.session.link.linkPort, 3);
  EXPECT_EQ(f.driver.baud, 19200);
  EXPECT_EQ(f.clock.LongSleeps(), std::vector<int>{100});
  EXPECT_EQ(f.pollSwitches, (std::vector<bool>{false, true}));
  EXPECT_TRUE(f.ui.Messages().empty());

  f.driver.openResult = -1;
  f.logic.ChangePort(1);
  EXPECT_EQ(f.session.settings.port, "2");
  EXPECT_EQ(
      f.ui.Messages(),
      std::vector<std::string>{"Error|Communication Setup Error|Error initializing serial port!"});
}

TEST(MainWindow, ComIndicatorsFollowTheAnswerInOptionsBitZero) {
  struct Case {
    const char* options;
    Answer answer;
    bool enabled;
    const char* optionsAfter;
  };
  const std::vector<Case> cases = {
      {"2", Answer::Yes, true, "3"},
      {"3", Answer::No, false, "2"},
      {"65537", Answer::Yes, true, "1"},  // kept to 16 bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    WindowFixture f;
    f.Started();
    f.session.settings.options = c.options;
    f.ui.answers.push_back(c.answer);
    EXPECT_EQ(f.dispatch.Dispatch(MainCommand::ComIndicators), WindowAction::Stay);
    EXPECT_EQ(f.ui.Messages(),
              std::vector<std::string>{"Question|Com Status Enable|Enable Com Status indicators?"});
    EXPECT_EQ(f.poll.comIndicatorsEnabled, c.enabled);
    EXPECT_EQ(f.session.settings.options, c.optionsAfter);
  }
}

TEST(CommandDispatch, ChecksBeforeEachCommandAndRestartsThePoll) {
  struct Case {
    const char* name;
    MainCommand command;
    ActuatorState actuator;
    bool silent;
    std::vector<std::string> messages;
  };
  const ActuatorState v310 = Actuator(3, 10);
  const ActuatorState v205 = Actuator(2, 5);
  const ActuatorState v105 = Actuator(1, 5);
  const ActuatorState running = Actuator(3, 10, ModeState::kRunOn);
  const std::vector<Case> cases = {
      {"firmware version",
       MainCommand::FirmwareVersion,
       v310,
       false,
       {"Information|Firmware Version|Actuator firmware version is 3.10"}},
      {"firmware version, no reply",
       MainCommand::FirmwareVersion,
       v310,
       true,
       {"Error|Firmware Version|No response to version number request."}},
      {"run hours",
       MainCommand::RunTimeHours,
       v310,
       false,
       {"Information|Run Hours Status|1234 Hours"}},
      {"run hours, no reply", MainCommand::RunTimeHours, v310, true, {kNoVersion}},
      {"powered hours",
       MainCommand::PoweredHours,
       v310,
       false,
       {"Information|Powered Hours Status|4321 Hours"}},
      {"setup pages", MainCommand::SetupPages, v310, false, {}},
      {"print setup report", MainCommand::PrintSetupReport, v310, false, {}},
      // A blank simulated memory holds no valid setup.
      {"upload in RESET", MainCommand::UploadSetup, v310, false, {kBadChecksum}},
      {"upload while running",
       MainCommand::UploadSetup,
       running,
       false,
       {"Warning|Program Error|Actuator must be in RESET state to upload setup parameters."}},
      {"upload from old firmware skips the status",
       MainCommand::UploadSetup,
       Actuator(1, 5, ModeState::kRunOn),
       false,
       {kBadChecksum}},
      // The poll has read the version: only the status request goes unanswered.
      {"upload, no reply",
       MainCommand::UploadSetup,
       v310,
       true,
       {"Warning|Program Error|Actuator failed to respond to status request."}},
      {"download without an upload since start",
       MainCommand::DownloadSetup,
       v310,
       false,
       {"Warning|Program Error|Cannot download configuration with serial number of 0."}},
      {"status monitor", MainCommand::StatusMonitor, v310, false, {kNotAvailable}},
      {"status monitor on old firmware",
       MainCommand::StatusMonitor,
       v105,
       false,
       {"Warning|Program Error|Real time status monitoring requires v2.0 or later firmware."}},
      {"identification check while running",
       MainCommand::IdentificationCheck,
       running,
       false,
       {"Warning|Program Error|Actuator must be in RESET state to run identification check."}},
      {"identification check", MainCommand::IdentificationCheck, v310, false, {kNotAvailable}},
      {"fault information", MainCommand::FaultInformation, v310, false, {kNotAvailable}},
      {"fault information on old firmware",
       MainCommand::FaultInformation,
       v105,
       false,
       {"Warning|Program Error|Firmware versions prior to v2.00 are not compatible with this "
        "version of Velmar."}},
      {"fault information while running",
       MainCommand::FaultInformation,
       running,
       false,
       {"Warning|Program Error|Actuator must be in RESET state to upload fault information."}},
      {"fault file report before 3.00", MainCommand::FaultFileReport, v205, false, {kNotAvailable}},
      {"fault file report from 3.00 is fault information",
       MainCommand::FaultFileReport,
       running,
       false,
       {"Warning|Program Error|Actuator must be in RESET state to upload fault information."}},
      {"save fault file from 3.00 is fault information",
       MainCommand::SaveFaultFile,
       v310,
       false,
       {kNotAvailable}},
      {"clear faults while running",
       MainCommand::ClearFaultInformation,
       running,
       false,
       {"Warning|Program Error|Actuator must be in RESET state to clear fault information."}},
      {"clear faults", MainCommand::ClearFaultInformation, v205, false, {kNotAvailable}},
      {"fault configuration before 2.06",
       MainCommand::FaultConfiguration,
       v205,
       false,
       {"Warning|Program Error|Configurable faults not supported by this firmware version."}},
      {"fault configuration", MainCommand::FaultConfiguration, v310, false, {kNotAvailable}},
      {"reset run hours",
       MainCommand::ResetRunHours,
       v310,
       false,
       {"Error|Reset Run Hours Status|Feature not available."}},
      {"memory read/write",
       MainCommand::MemoryReadWrite,
       v310,
       false,
       {"Error|Program Status|Feature not available."}},
      {"memory button", MainCommand::MemoryButton, v310, false, {}},
      {"help", MainCommand::Help, v310, false, {}},
      {"unit serial number",
       MainCommand::UnitSerialNumber,
       v310,
       false,
       {"Information|Unit Serial Number|Serial Number: "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WindowFixture f(c.actuator);
    f.Started();
    if (c.silent) {
      f.actuator.DropReplies(1000);
    }
    EXPECT_EQ(f.dispatch.Dispatch(c.command), WindowAction::Stay);
    EXPECT_EQ(f.ui.Messages(), c.messages);
    EXPECT_EQ(f.pollSwitches, (std::vector<bool>{false, true}));
  }
}

TEST(CommandDispatch, UploadEndsInTheSetupPages) {
  WindowFixture f(Actuator(2, 5));
  f.Started();
  f.dispatch.Dispatch(MainCommand::UploadSetup);
  // Before 3.10 the pages offer the default seating force.
  EXPECT_EQ(f.view.events, std::vector<std::string>{"Setup Pages|12345|1000"});
  EXPECT_EQ(f.session.serialNumber, "12345");
}

TEST(CommandDispatch, FileBoxesAndWindows) {
  WindowFixture f(Actuator(2, 5));
  f.Started();
  f.dispatch.Dispatch(MainCommand::SaveFaultFile);
  f.dispatch.Dispatch(MainCommand::LoadSetupFile);
  f.dispatch.Dispatch(MainCommand::SaveSetupFile);
  ASSERT_EQ(f.ui.fileRequests.size(), 3u);
  const FileBoxRequest& faults = f.ui.fileRequests[0];
  EXPECT_EQ(faults.initialName, "Faults.rpt");
  EXPECT_EQ(faults.defaultExtension, "RPT");
  EXPECT_EQ(faults.filter, "Actuator Fault Files (*.rpt)|*.RPT|All Files (*.*)|*.*||");
  EXPECT_TRUE(faults.overwritePrompt);
  const FileBoxRequest& load = f.ui.fileRequests[1];
  EXPECT_EQ(load.initialName, "*.CFG");
  EXPECT_EQ(load.filter, "Actuator Setup Files (*.cfg)|*.CFG|All Files (*.*)|*.*||");
  EXPECT_FALSE(load.overwritePrompt);
  EXPECT_EQ(f.ui.fileRequests[2].initialName, "Velmar.cfg");
  EXPECT_TRUE(f.ui.fileRequests[2].overwritePrompt);
  // Every box was cancelled: nothing else happened.
  EXPECT_TRUE(f.ui.Messages().empty());

  // A setup file saved and loaded again through the boxes.
  const std::string path = (f.settingsHome.Path() / "unit.cfg").string();
  f.ui.filePaths = {path, path};
  f.dispatch.Dispatch(MainCommand::SaveSetupFile);
  SetField(f.session.setup.OrvikPartNo, "changed");
  f.dispatch.Dispatch(MainCommand::LoadSetupFile);
  EXPECT_TRUE(f.ui.Messages().empty());
  EXPECT_STRNE(f.session.setup.OrvikPartNo, "changed");

  f.dispatch.Dispatch(MainCommand::ProgramInformation);
  f.dispatch.Dispatch(MainCommand::About);
  EXPECT_EQ(f.view.events, (std::vector<std::string>{"Program Information|" + f.logic.versionText +
                                                         "|" + f.logic.programPartNumber,
                                                     "About"}));
}

}  // namespace
}  // namespace velmar
