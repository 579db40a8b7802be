#include "setup/setup_transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "configdb/temp_folder.h"
#include "setup/pack_setup.h"
#include "setup/setup_page_image.h"
#include "setup/setup_transfer_commands.h"
#include "simulated_actuator.h"
#include "support/recording_ui.h"
#include "support/scripted_serial_driver.h"
#include "support/sim_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar {
namespace {

using test::Bytes;

constexpr const char* kProceed =
    "Question|Setup Download|Current setup parameters will be overwritten.\n\nProceed with "
    "download?";
constexpr const char* kUploadFailed = "Error|Setup Com Error|Setup data upload failed!";
constexpr const char* kNoConfiguration =
    "Warning|Program Error|Configuration parameters do not exist for this part number";

// A line that loses the requests `lose` picks: they never reach the actuator.
class LossyDriver : public test::SimSerialDriver {
 public:
  using SimSerialDriver::SimSerialDriver;
  int Write(int index, const uint8_t* data, int length) override {
    const Bytes request(data, data + length);
    if (lose && lose(request)) {
      writes.push_back(request);
      return length;
    }
    return SimSerialDriver::Write(index, data, length);
  }
  std::function<bool(const Bytes&)> lose;
};

Bytes Frame(bool crc, uint8_t code, const Bytes& data = {}) {
  return crc ? test::CrcFrame(code, data) : test::SumFrame(code, data);
}

Bytes ReadWordsRequest(bool crc, uint16_t address) {
  return Frame(crc, kReadWords,
               {static_cast<uint8_t>(address), static_cast<uint8_t>(address >> 8), 6, 0});
}

// The request that writes the page of `image` at word `address`.
Bytes WriteWordsRequest(bool crc, uint16_t address, const uint8_t* bytes, int count) {
  Bytes data = {static_cast<uint8_t>(address), static_cast<uint8_t>(address >> 8)};
  data.insert(data.end(), bytes, bytes + count);
  return Frame(crc, kWriteWords, data);
}

bool IsWriteWords(const Bytes& request, uint16_t address) {
  return request.size() > 4 && request[1] == kWriteWords && request[3] == (address & 0xFF) &&
         request[4] == address >> 8;
}

int CountOf(const std::vector<Bytes>& writes, const Bytes& request) {
  return static_cast<int>(std::count(writes.begin(), writes.end(), request));
}

std::vector<int> Repeated(std::vector<int> head, int value, int times) {
  head.insert(head.end(), times, value);
  return head;
}

class SetupTransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.Valid());
    const auto path = folder.Path() / "Configurations.cfg";
    std::ofstream(path) << "C1 5000000-000 Stand alone, 1.00 99.99\r\n"
                           "C9 5000999-000 Frozen part, 0.0 0.0\r\n";
    ASSERT_EQ(session.catalogue.Load(path), 0);
  }

  // Connects as the main window's poll would have, then forgets what that sent and showed.
  void Start(uint8_t major, uint8_t minor, FrameMode mode) {
    actuator.State().firmwareMajor = major;
    actuator.State().firmwareMinor = minor;
    actuator.State().frameMode = mode;
    session.link.OpenPort(1, 19200);
    ASSERT_EQ(session.VerifyCommunication(), 0);
    Forget();
  }

  void Forget() {
    driver.writes.clear();
    clock.sleeps.clear();
    ui.events.clear();
  }

  // Puts the packed image of `source` for `version` into the actuator's memory.
  void StoreImage(SetupParameters source, int version) {
    PackSetup(source, version);
    for (std::size_t word = 0; word < SetupImageSize(version) / 2; ++word) {
      actuator.Memory().SetWord(word, ImageWord(source.pageImage, 2 * word));
    }
  }

  bool MemoryHoldsImage(int version) const {
    for (std::size_t word = 0; word < SetupImageSize(version) / 2; ++word) {
      if (actuator.Memory().Word(word) != ImageWord(session.setup.pageImage, 2 * word)) {
        return false;
      }
    }
    return true;
  }

  TempFolder folder;
  test::VirtualClock clock;
  SimulatedActuator actuator;
  LossyDriver driver{actuator, clock};
  test::RecordingUi ui;
  Session session{driver, clock, ui};
};

TEST_F(SetupTransferTest, UploadReadsEveryPageWithTheFramesAndPositionsOfItsClass) {
  struct Case {
    const char* name;
    uint8_t major, minor;
    FrameMode mode;
    bool crcPages;
    int pages;
    std::vector<int> positions;
  };
  const std::vector<int> steps = {0,  1,  7,  13, 19, 25, 31, 37, 43,
                                  49, 55, 61, 67, 73, 79, 85, 91, 97};
  const std::vector<Case> cases = {
      {"1.01 class in sum mode", 2, 6, FrameMode::kSum, false, 17, Repeated(steps, 100, 1)},
      {"1.01 class in CRC mode", 3, 0, FrameMode::kCrc, true, 17, Repeated(steps, 100, 1)},
      {"3.10 class", 3, 10, FrameMode::kCrc, true, 18, Repeated(steps, 100, 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetupParameters source;
    SetField(source.SERIALNO, "4321");
    SetField(source.SPAN, "4.5");
    SetField(source.SEATINGFORCE, "1800");
    const int version = c.major * 256 + c.minor;
    StoreImage(source, version);
    Start(c.major, c.minor, c.mode);
    session.setup = SetupParameters();
    const bool crc = c.mode == FrameMode::kCrc;

    SetupTransfer transfer(session);
    ASSERT_TRUE(transfer.Upload());

    std::vector<Bytes> expected = {Frame(crc, kFirmwareVersion), Frame(crc, kPrepareUpload)};
    for (int page = 0; page < c.pages; ++page) {
      expected.push_back(ReadWordsRequest(c.crcPages, static_cast<uint16_t>(6 * page)));
    }
    EXPECT_EQ(driver.writes, expected);
    EXPECT_EQ(ui.Positions(), c.positions);
    EXPECT_EQ(ui.events.front(), "Progress|Setup Parameter Transfer in Progress...");
    EXPECT_EQ(ui.events.back(), "EndProgress");
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(clock.LongSleeps(), Repeated({}, 100, c.pages));
    EXPECT_STREQ(session.setup.SPAN, "4.5000");
    EXPECT_STREQ(session.setup.SERIALNO, "04321");
    // The seating values exist from 3.10 on only.
    EXPECT_STREQ(session.setup.SEATINGFORCE, version >= 0x30A ? "1800.00" : "1000");
  }
}

TEST_F(SetupTransferTest, UploadFailuresLeaveTheRecordAsItWas) {
  const std::string undefined = "Warning|Setup Transfer Error|Undefined firmware version!";
  struct Case {
    const char* name;
    uint8_t major, minor;
    std::string warning;
    std::vector<int> sleeps;
  };
  const std::vector<Case> cases = {
      {"firmware 1.00", 1, 0, undefined, {}},
      {"firmware 3.05", 3, 5, undefined, {100}},
      {"page 3 fails eight times", 3, 10,
       "Warning|Setup Transfer Error|Setup upload page 3 request failed!",
       Repeated({100, 100, 100, 100}, 40, 7)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreImage(SetupParameters(), 0x30A);
    Start(c.major, c.minor, FrameMode::kCrc);
    SetField(session.setup.SPAN, "7.25");
    session.setup.pageImage[3] = 0x5A;
    const SetupParameters before = session.setup;
    driver.lose = [](const Bytes& r) { return r == ReadWordsRequest(true, 18); };

    EXPECT_FALSE(UploadSetupCommand(session));
    driver.lose = nullptr;

    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{c.warning, kUploadFailed}));
    // The first 100 ms is the status request of the RESET check, from 2.00 on.
    EXPECT_EQ(clock.LongSleeps(), c.sleeps);
    EXPECT_EQ(std::memcmp(&session.setup, &before, sizeof(SetupFields)), 0);
    EXPECT_EQ(std::memcmp(session.setup.pageImage, before.pageImage, kSetupImageBytes), 0);
    EXPECT_EQ(session.serialNumber, "00000");
  }
}

TEST_F(SetupTransferTest, UploadWarnsOfABadChecksumAndCarriesOn) {
  SetupParameters source;
  SetField(source.SERIALNO, "777");
  StoreImage(source, 0x30A);
  actuator.Memory().SetWord(107, static_cast<uint16_t>(actuator.Memory().Word(107) + 1));
  Start(3, 10, FrameMode::kCrc);

  EXPECT_TRUE(UploadSetupCommand(session));

  const std::vector<std::string> tail = {"EndProgress",
                                         "Error|Setup Com Error|Setup data checksum is invalid!"};
  EXPECT_TRUE(std::equal(tail.rbegin(), tail.rend(), ui.events.rbegin()));
  EXPECT_EQ(session.serialNumber, "00777");
  EXPECT_STREQ(session.setup.OrvikPartNo, " ");
}

TEST_F(SetupTransferTest, UploadPreChecks) {
  struct Case {
    const char* name;
    uint8_t major, minor;
    ModeState state;
    std::function<bool(const Bytes&)> lose;
    bool versionUnread;
    std::string message;  // empty: the upload runs
  };
  const std::vector<Case> cases = {
      {"silent actuator", 3, 10, ModeState::kReset, [](const Bytes&) { return true; }, true,
       "Warning|Program Error|Actuator failed to respond to firmware version request."},
      {"no status reply", 3, 10, ModeState::kReset,
       [](const Bytes& r) { return r[1] == kStatusRequest; }, false,
       "Warning|Program Error|Actuator failed to respond to status request."},
      {"running", 3, 10, ModeState::kRunOn, nullptr, false,
       "Warning|Program Error|Actuator must be in RESET state to upload setup parameters."},
      {"running, before 2.00 no status is asked", 1, 50, ModeState::kRunOn, nullptr, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreImage(SetupParameters(), c.major * 256 + c.minor);
    Start(c.major, c.minor, FrameMode::kCrc);
    actuator.State().modeState = c.state;
    if (c.versionUnread) {
      session.link.firmwareVersion = 0;
    }
    driver.lose = c.lose;

    EXPECT_EQ(UploadSetupCommand(session), c.message.empty());
    driver.lose = nullptr;

    EXPECT_EQ(ui.Messages(),
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    const bool pagesRead = std::any_of(driver.writes.begin(), driver.writes.end(),
                                       [](const Bytes& r) { return r[1] == kReadWords; });
    EXPECT_EQ(pagesRead, c.message.empty());
  }
}

TEST_F(SetupTransferTest, DownloadWritesTheApprovedSetupWithTheFramesAndPositionsOfItsClass) {
  struct Case {
    const char* name;
    uint8_t major, minor;
    FrameMode mode;
    bool crcPages;
    int pages;
  };
  const std::vector<Case> cases = {
      {"1.01 class in sum mode", 2, 6, FrameMode::kSum, false, 17},
      {"1.01 class in CRC mode", 3, 0, FrameMode::kCrc, true, 17},
      {"3.10 class", 3, 10, FrameMode::kCrc, true, 18},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    actuator.Memory().SetSerialNumber(40123);
    Start(c.major, c.minor, c.mode);
    const int commits = actuator.CommitCount();
    session.serialNumber = "40123";
    SetField(session.setup.SPAN, "1.0");
    ui.answers = {Answer::Yes};
    const bool crc = c.mode == FrameMode::kCrc;

    const DownloadOutcome outcome = DownloadSetupCommand(session);

    EXPECT_TRUE(outcome.downloaded);
    EXPECT_EQ(outcome.transferResult, kTransferDone);
    EXPECT_EQ(ui.Messages(),
              (std::vector<std::string>{
                  kNoConfiguration, kProceed,
                  "Information|Setup Com Status|Setup download successful.\n\nNOTE: The Orvik part "
                  "number on the nameplate must be\nre-identified to reflect the downloaded Orvik "
                  "part number!"}));
    std::vector<Bytes> identification = {ReadWordsRequest(crc, 4), ReadWordsRequest(crc, 10),
                                         ReadWordsRequest(crc, 16)};
    std::vector<Bytes> expected = identification;
    expected.push_back(Frame(true, kStatusRequest));
    expected.push_back(Frame(crc, kFirmwareVersion));
    expected.insert(expected.end(), identification.begin(), identification.end());
    expected.push_back(Frame(crc, kWriteEnable));
    expected.push_back(Frame(crc, kFirmwareVersion));
    for (int page = 0; page < c.pages; ++page) {
      expected.push_back(WriteWordsRequest(c.crcPages, static_cast<uint16_t>(6 * page),
                                           session.setup.pageImage + 12 * page, 12));
    }
    expected.push_back(Frame(crc, kCommitSetup));
    expected.push_back(Frame(crc, kWriteDisable));
    EXPECT_EQ(driver.writes, expected);

    std::vector<int> positions = {0};
    for (int position = 1; position < 95 - 5; position += 5) {
      positions.push_back(position);
    }
    positions.resize(c.pages + 1);
    positions.insert(positions.end(), {95, 100});
    EXPECT_EQ(ui.Positions(), positions);
    std::vector<int> sleeps = Repeated({100}, 500, c.pages);
    sleeps.push_back(100);
    EXPECT_EQ(clock.LongSleeps(), sleeps);

    // Without a database the record goes out as it stands, with the actuator's serial number.
    EXPECT_STREQ(session.setup.SPAN, "1.0");
    EXPECT_STREQ(session.setup.SERIALNO, "40123");
    EXPECT_TRUE(MemoryHoldsImage(c.major * 256 + c.minor));
    EXPECT_EQ(actuator.CommitCount(), commits + 1);
    EXPECT_FALSE(actuator.State().writesEnabled);
  }
}

TEST_F(SetupTransferTest, DownloadPreChecks) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"no upload since start", [&] { session.serialNumber = "00000"; },
       "Warning|Program Error|Cannot download configuration with serial number of 0."},
      {"silent actuator",
       [&] {
         session.link.firmwareVersion = 0;
         driver.lose = [](const Bytes&) { return true; };
       },
       "Warning|Program Error|Actuator failed to respond to firmware version request."},
      {"no identification",
       [&] { driver.lose = [](const Bytes& r) { return r[1] == kReadWords; }; },
       "Warning|Program Error|Actuator failed to respond to part number request."},
      {"unknown part", [&] { actuator.Memory().SetPartNumber("5999999-000"); },
       "Warning|Program Error|Part number not listed in database."},
      {"part frozen at version 0.0", [&] { actuator.Memory().SetPartNumber("5000999-000"); },
       "Warning|Program Error|Reconfiguration of existing part number not allowed with this "
       "software."},
      {"no status reply",
       [&] { driver.lose = [](const Bytes& r) { return r[1] == kStatusRequest; }; },
       "Warning|Program Error|Actuator failed to respond to status request."},
      {"running", [&] { actuator.State().modeState = ModeState::kRunOn; },
       "Warning|Program Error|Actuator must be in RESET state to download setup parameters."},
      {"start-up folder gone",
       [&] { session.settings.startupDir = (folder.Path() / "gone").string(); },
       "Warning|Program Error|Error on changing to Velmar install directory."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    actuator.Memory().SetPartNumber(kDefaultPartNumber);
    actuator.State().modeState = ModeState::kReset;
    Start(3, 10, FrameMode::kCrc);
    session.serialNumber = "12345";
    c.arrange();
    ui.answers = {Answer::Yes};

    const DownloadOutcome outcome = DownloadSetupCommand(session);
    driver.lose = nullptr;
    session.settings.startupDir.clear();

    EXPECT_FALSE(outcome.downloaded);
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(CountOf(driver.writes, Frame(true, kWriteEnable)), 0);
  }
}

TEST_F(SetupTransferTest, DownloadFailuresAndTheirResultBoxes) {
  struct Case {
    const char* name;
    uint8_t minor;
    Answer answer;
    std::function<bool(const Bytes&)> lose;
    int transferResult;
    std::vector<std::string> messages;
  };
  const std::string noReply =
      "Error|Setup Com Status|Download aborted, actuator failed to respond!";
  const std::vector<Case> cases = {
      {"answered No",
       10,
       Answer::No,
       nullptr,
       kTransferDeclined,
       {kNoConfiguration, kProceed, "Error|Setup Com Status|Setup download failed!"}},
      {"commit never acknowledged",
       10,
       Answer::Yes,
       [](const Bytes& r) { return r[1] == kCommitSetup; },
       kTransferNoReply,
       {kNoConfiguration, kProceed, noReply}},
      {"firmware 3.05 takes no pages",
       5,
       Answer::Yes,
       nullptr,
       kTransferFirmwareNotSupported,
       {kNoConfiguration, kProceed,
        "Warning|Setup Download|Actuator firmware is not compatible with this version of "
        "Velmar."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    actuator = SimulatedActuator();
    Start(3, c.minor, FrameMode::kCrc);
    session.serialNumber = "12345";
    ui.answers = {c.answer};
    driver.lose = c.lose;

    const DownloadOutcome outcome = DownloadSetupCommand(session);
    driver.lose = nullptr;

    EXPECT_FALSE(outcome.downloaded);
    EXPECT_EQ(outcome.transferResult, c.transferResult);
    EXPECT_EQ(ui.Messages(), c.messages);
    EXPECT_EQ(actuator.CommitCount(), 0);
    // Only a failure after write enable turns writes off again.
    const bool disabled = CountOf(driver.writes, Frame(true, kWriteDisable)) == 1;
    EXPECT_EQ(disabled, c.transferResult == kTransferNoReply);
  }
}

TEST_F(SetupTransferTest, PageFiveFailingLeavesPagesZeroToFourWritten) {
  Start(3, 10, FrameMode::kCrc);
  driver.lose = [](const Bytes& r) { return IsWriteWords(r, 30); };
  ui.answers = {Answer::Yes};
  SetupTransfer transfer(session);

  EXPECT_FALSE(transfer.Download(false));

  EXPECT_EQ(transfer.TransferResult, kTransferNoReply);
  EXPECT_EQ(std::count_if(driver.writes.begin(), driver.writes.end(),
                          [](const Bytes& r) { return IsWriteWords(r, 30); }),
            8);
  for (std::size_t word = 0; word < 36; ++word) {
    const uint16_t expected = word < 30 ? ImageWord(session.setup.pageImage, 2 * word) : 0;
    EXPECT_EQ(actuator.Memory().Word(word), expected) << "word " << word;
  }
  EXPECT_EQ(ui.Positions(), (std::vector<int>{0, 1, 6, 11, 16, 21, 26}));
  EXPECT_EQ(driver.writes.back(), Frame(true, kWriteDisable));
  EXPECT_FALSE(actuator.State().writesEnabled);
}

TEST_F(SetupTransferTest, DownloadCompatibilityRefusals) {
  struct Case {
    const char* name;
    uint8_t major, minor;
    std::function<void(SetupParameters&)> edit;
    std::string warning;  // empty: the download goes through
  };
  const auto ownLoop = [](const char* velocityI) {
    return [=](SetupParameters& r) {
      SetField(r.POSLOOPTUNECONST, "25");
      SetField(r.VELLOOPICONST, velocityI);
    };
  };
  const auto loopSet100 = [](SetupParameters& r) {
    SetField(r.POSLOOPTUNECONST, "15");
    SetField(r.CURLOOPPCONST, "0.01");
    SetField(r.CURLOOPICONST, "200");
    SetField(r.VELLOOPPCONST, "5");
    SetField(r.VELLOOPICONST, "500");
  };
  const std::vector<Case> cases = {
      {"1.01 defaults to 1.00", 1, 0, [](SetupParameters&) {},
       "Warning|Setup Download|Version 1.01 default loop parameters are incompatible with v1.00 "
       "firmware!"},
      {"velocity I 2001 to 1.00", 1, 0, ownLoop("2001"),
       "Warning|Setup Download|Version 1.01 velocity loop I parameter is incompatible with v1.00 "
       "firmware!"},
      {"velocity I 2000 to 1.00", 1, 0, ownLoop("2000"), ""},
      {"1.00 defaults to 2.06", 2, 6, loopSet100,
       "Warning|Setup Download|Version 1.00 default loop parameters are incompatible with v1.01 "
       "or later firmware! "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    actuator = SimulatedActuator();
    Start(c.major, c.minor, FrameMode::kSum);
    session.setup = SetupParameters();
    c.edit(session.setup);
    ui.answers = {Answer::Yes};
    SetupTransfer transfer(session);

    EXPECT_EQ(transfer.Download(false), c.warning.empty());

    EXPECT_EQ(transfer.TransferResult, kTransferDone);
    std::vector<std::string> messages = {kProceed};
    if (!c.warning.empty()) {
      messages.push_back(c.warning);
    }
    EXPECT_EQ(ui.Messages(), messages);
    const int pages =
        static_cast<int>(std::count_if(driver.writes.begin(), driver.writes.end(),
                                       [](const Bytes& r) { return r[1] == kWriteWords; }));
    EXPECT_EQ(pages, c.warning.empty() ? 17 : 0);
    // A refusal leaves the actuator write-enabled.
    EXPECT_EQ(actuator.State().writesEnabled, !c.warning.empty());
    if (c.warning.empty() && c.major == 1) {
      // The last page of the 1.00 image holds four words.
      const Bytes last = *std::find_if(driver.writes.rbegin(), driver.writes.rend(),
                                       [](const Bytes& r) { return r[1] == kWriteWords; });
      EXPECT_EQ(last, WriteWordsRequest(false, 96, session.setup.pageImage + 192, 8));
      EXPECT_TRUE(MemoryHoldsImage(0x100));
    }
  }
}

TEST_F(SetupTransferTest, KeptRecordSerialMustBeValid) {
  struct Case {
    const char* serial;
    bool downloaded;
    int transferResult;
  };
  const std::vector<Case> cases = {
      {"100000", false, kTransferSerialInvalid},
      {"99999", true, kTransferDone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.serial);
    Start(3, 10, FrameMode::kCrc);
    SetField(session.setup.SERIALNO, c.serial);
    ui.answers = {Answer::Yes};
    SetupTransfer transfer(session);

    EXPECT_EQ(transfer.Download(true), c.downloaded);

    EXPECT_EQ(transfer.TransferResult, c.transferResult);
    EXPECT_STREQ(session.setup.SERIALNO, c.serial);
    if (c.downloaded) {
      EXPECT_EQ(actuator.Memory().SerialNumber(), 99999u);
    }
  }
}

}  // namespace
}  // namespace velmar
