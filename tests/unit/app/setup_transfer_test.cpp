#include "app/setup_transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/setup_transfer_commands.h"
#include "base/temp_folder.h"
#include "configdb/archive_format.h"
#include "configdb/archive_writer.h"
#include "setup/pack_setup.h"
#include "setup/setup_page_image.h"
#include "support/file_bytes.h"
#include "support/scripted_serial_driver.h"
#include "unit/app/sim_bench.h"
#include "unit/setup/record_fields.h"

namespace velmar {
namespace {

using test::Bytes;
using Strings = std::vector<std::string>;

constexpr const char* kProceed =
    "Question|Setup Download|Current setup parameters will be overwritten.\n\nProceed with "
    "download?";
constexpr const char* kNoConfiguration =
    "Warning|Program Error|Configuration parameters do not exist for this part number";
constexpr const char* kDownloaded =
    "Information|Setup Com Status|Setup download successful.\n\nNOTE: The Orvik part number on "
    "the nameplate must be\nre-identified to reflect the downloaded Orvik part number!";
constexpr int kEverything = 0x100;  // a lost-request code that matches every request

Bytes Frame(bool crc, uint8_t code, const Bytes& data = {}) {
  return crc ? test::CrcFrame(code, data) : test::SumFrame(code, data);
}

// Setup pages lie below word 256.
Bytes ReadWordsRequest(bool crc, int address) {
  return Frame(crc, kReadWords, {static_cast<uint8_t>(address), 0, 6, 0});
}

Bytes WriteWordsRequest(bool crc, int address, const uint8_t* bytes, int count) {
  Bytes data(2 + count);
  data[0] = static_cast<uint8_t>(address);
  std::copy_n(bytes, count, data.begin() + 2);
  return Frame(crc, kWriteWords, data);
}

std::vector<int> Repeated(std::vector<int> head, int value, int times) {
  head.insert(head.end(), times, value);
  return head;
}

class SetupTransferTest : public ::testing::Test, public test::SimBench {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.Valid());
    const auto path = folder.Path() / "Configurations.cfg";
    std::ofstream(path) << "C1 5000000-000 Stand alone, 1.00 99.99\r\n"
                           "C9 5000999-000 Frozen part, 0.0 0.0\r\n";
    ASSERT_EQ(session.catalogue.Load(path), 0);
  }

  // Connects as the main window's poll would have, then forgets what that sent and showed.
  void Start(int version, FrameMode mode = FrameMode::kCrc) {
    driver.lose = nullptr;
    actuator.State() = test::Actuator(version, actuator.State().modeState, mode);
    session.link.OpenPort(1, 19200);
    ASSERT_EQ(session.VerifyCommunication(), 0);
    driver.writes.clear();
    clock.sleeps.clear();
    ui.events.clear();
  }

  // Loses every request with command `code` (0: none); kEverything also forgets the version read
  // on connecting, so that it is asked again.
  void Lose(int code) {
    driver.lose = [code](const Bytes& r) { return code == kEverything || r[1] == code; };
    if (code == kEverything) {
      session.link.SetFirmwareVersion(0);
    }
  }

  int Sent(uint8_t code) const {
    return static_cast<int>(std::count_if(driver.writes.begin(), driver.writes.end(),
                                          [code](const Bytes& r) { return r[1] == code; }));
  }

  // Puts the packed image of `source` for `version` into the actuator's memory.
  void StoreImage(SetupParameters source, int version) {
    PackSetup(source, version);
    for (std::size_t word = 0; word < SetupImageSize(version) / 2; ++word) {
      actuator.Memory().SetWord(word, ImageWord(source.pageImage, 2 * word));
    }
  }

  TempFolder folder;
};

// The 1.01 class in both frame forms (CRC from 3.00 on) and the 3.10 class, with 18 pages.
constexpr int kClasses[] = {0x206, 0x300, 0x30A};

FrameMode ModeOf(int version) {
  return version < 0x300 ? FrameMode::kSum : FrameMode::kCrc;
}

TEST_F(SetupTransferTest, UploadReadsEveryPageWithTheFramesAndPositionsOfItsClass) {
  for (const int version : kClasses) {
    SCOPED_TRACE(version);
    const bool crc = version >= 0x300;
    const int pages = version >= 0x30A ? 18 : 17;
    StoreImage(test::Record("SERIALNO=4321|SPAN=4.5|SEATINGFORCE=1800"), version);
    Start(version, ModeOf(version));
    session.setup = SetupParameters();

    ASSERT_TRUE(SetupTransfer(session).Upload());

    std::vector<Bytes> expected = {Frame(crc, kFirmwareVersion), Frame(crc, kPrepareUpload)};
    for (int page = 0; page < pages; ++page) {
      expected.push_back(ReadWordsRequest(crc, 6 * page));
    }
    EXPECT_EQ(driver.writes, expected);
    // Steps of 6 from 1; the last page sets 100.
    EXPECT_EQ(ui.Positions(),
              Repeated({0, 1, 7, 13, 19, 25, 31, 37, 43, 49, 55, 61, 67, 73, 79, 85, 91, 97}, 100,
                       pages - 16));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(clock.LongSleeps(), Repeated({}, 100, pages));
    EXPECT_STREQ(session.setup.SPAN, "4.5000");
    EXPECT_STREQ(session.setup.SERIALNO, "04321");
    // The seating values exist from 3.10 on only.
    EXPECT_STREQ(session.setup.SEATINGFORCE, version >= 0x30A ? "1800.00" : "1000");
  }
}

TEST_F(SetupTransferTest, UploadFailuresLeaveTheRecordAsItWas) {
  const std::string undefined = "Warning|Setup Transfer Error|Undefined firmware version!";
  const struct {
    int version;
    std::string warning;
    std::vector<int> sleeps;
  } cases[] = {
      {0x100, undefined, {}},
      {0x305, undefined, {100}},
      {0x30A, "Warning|Setup Transfer Error|Setup upload page 3 request failed!",
       Repeated({100, 100, 100, 100}, 40, 7)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    StoreImage(SetupParameters(), 0x30A);
    Start(c.version);
    SetField(session.setup.SPAN, "7.25");
    session.setup.pageImage[3] = 0x5A;
    const SetupParameters before = session.setup;
    driver.lose = [](const Bytes& r) { return r == ReadWordsRequest(true, 18); };

    EXPECT_FALSE(UploadSetupCommand(session));

    EXPECT_EQ(ui.Messages(),
              (Strings{c.warning, "Error|Setup Com Error|Setup data upload failed!"}));
    // The first 100 ms is the status request of the RESET check, from 2.00 on.
    EXPECT_EQ(clock.LongSleeps(), c.sleeps);
    EXPECT_EQ(std::memcmp(&session.setup, &before, sizeof(SetupFields)), 0);
    EXPECT_EQ(std::memcmp(session.setup.pageImage, before.pageImage, kSetupImageBytes), 0);
    EXPECT_EQ(session.serialNumber, "00000");
  }
}

TEST_F(SetupTransferTest, UploadWarnsOfABadChecksumAndCarriesOn) {
  StoreImage(test::Record("SERIALNO=777"), 0x30A);
  actuator.Memory().SetWord(107, static_cast<uint16_t>(actuator.Memory().Word(107) + 1));
  Start(0x30A);

  EXPECT_TRUE(UploadSetupCommand(session));

  EXPECT_EQ(Strings(ui.events.end() - 2, ui.events.end()),
            (Strings{"EndProgress", "Error|Setup Com Error|Setup data checksum is invalid!"}));
  EXPECT_EQ(session.serialNumber, "00777");
  EXPECT_STREQ(session.setup.OrvikPartNo, " ");
}

TEST_F(SetupTransferTest, DownloadWritesTheApprovedSetupWithTheFramesAndPositionsOfItsClass) {
  for (const int version : kClasses) {
    SCOPED_TRACE(version);
    const bool crc = version >= 0x300;
    const int pages = version >= 0x30A ? 18 : 17;
    actuator.Memory().SetSerialNumber(40123);
    Start(version, ModeOf(version));
    const int commits = actuator.CommitCount();
    session.serialNumber = "40123";
    SetField(session.setup.MAXVEL, "7");
    ui.answers = {Answer::Yes};

    const DownloadOutcome outcome = DownloadSetupCommand(session);

    EXPECT_TRUE(outcome.downloaded);
    EXPECT_EQ(outcome.transferResult, TransferResult::kDone);
    EXPECT_EQ(ui.Messages(), (Strings{kNoConfiguration, kProceed, kDownloaded}));
    const Bytes id1 = ReadWordsRequest(crc, 4), id2 = ReadWordsRequest(crc, 10),
                id3 = ReadWordsRequest(crc, 16), ask = Frame(crc, kFirmwareVersion);
    std::vector<Bytes> expected = {id1, id2, id3, Frame(true, kStatusRequest), ask,
                                   id1, id2, id3, Frame(crc, kWriteEnable),    ask};
    std::vector<int> positions = {0};
    for (int page = 0; page < pages; ++page) {
      expected.push_back(WriteWordsRequest(crc, 6 * page, session.setup.pageImage + 12 * page, 12));
      positions.push_back(1 + 5 * page);
    }
    expected.insert(expected.end(), {Frame(crc, kCommitSetup), Frame(crc, kWriteDisable),
                                     Frame(crc, kPrepareUpload)});
    for (int page = 0; page < pages; ++page) {
      expected.push_back(ReadWordsRequest(crc, 6 * page));
    }
    EXPECT_EQ(driver.writes, expected);
    positions.insert(positions.end(), {95, 100});
    EXPECT_EQ(ui.Positions(), positions);
    std::vector<int> sleeps = Repeated({100}, 500, pages);
    sleeps.push_back(100);
    EXPECT_EQ(clock.LongSleeps(), sleeps);

    // Without a database the record goes out as it stands, with the actuator's serial number.
    EXPECT_STREQ(session.setup.MAXVEL, "7");
    EXPECT_STREQ(session.setup.SERIALNO, "40123");
    EXPECT_EQ(actuator.CommitCount(), commits + 1);
    EXPECT_FALSE(actuator.State().writesEnabled);
  }
}

// Each command's checks before it transfers anything; the upload asks no status before 2.00.
TEST_F(SetupTransferTest, PreChecks) {
  using enum ModeState;
  const char* const part = kDefaultPartNumber;
  const struct {
    bool download;
    const char* part;
    ModeState state;
    int lost;
    std::string message;  // empty: the transfer runs
    int version = 0x30A;
    const char* serial = "12345";
  } cases[] = {
      {false, part, kReset, kEverything, "Actuator failed to respond to firmware version request."},
      {false, part, kReset, kStatusRequest, "Actuator failed to respond to status request."},
      {false, part, kRunOn, 0, "Actuator must be in RESET state to upload setup parameters."},
      {false, part, kRunOn, 0, "", 0x132},
      {true, part, kReset, 0, "Cannot download configuration with serial number of 0.", 0x30A,
       "00000"},
      {true, part, kReset, kEverything, "Actuator failed to respond to firmware version request."},
      {true, part, kReset, kReadWords, "Actuator failed to respond to part number request."},
      {true, "5999999-000", kReset, 0, "Part number not listed in database."},
      {true, "5000999-000", kReset, 0,  // catalogued at version 0.0
       "Reconfiguration of existing part number not allowed with this software."},
      {true, part, kReset, kStatusRequest, "Actuator failed to respond to status request."},
      {true, part, kRunOn, 0, "Actuator must be in RESET state to download setup parameters."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    StoreImage(SetupParameters(), c.version);
    actuator.Memory().SetPartNumber(c.part);
    actuator.State().modeState = c.state;
    Start(c.version);
    session.serialNumber = c.serial;
    Lose(c.lost);
    ui.answers = {Answer::Yes};

    EXPECT_EQ(c.download ? DownloadSetupCommand(session).downloaded : UploadSetupCommand(session),
              c.message.empty());

    EXPECT_EQ(ui.Messages(),
              c.message.empty() ? Strings{} : Strings{"Warning|Program Error|" + c.message});
    EXPECT_EQ(Sent(c.download ? kWriteEnable : kReadWords) > 0, c.message.empty());
  }
}

// What the user answers, what the line loses, what the actuator stores and what the record holds
// decide the outcome; every way out after a write-enable sends the write-disable, and one that
// goes unanswered is reported.
TEST_F(SetupTransferTest, DownloadOutcomes) {
  const std::string refusal = "Warning|Setup Download|Version 1.0";
  const std::string notDisabled =
      "Error|Setup Com Status|Actuator did not confirm the end of writing. Reset the actuator "
      "before use.";
  const std::string noReply =
      "Error|Setup Com Status|Download aborted, actuator failed to respond!";
  const struct {
    int version;
    Answer answer;
    int lost;
    const char* edit;
    TransferResult result;
    int pages;
    int disables;      // write-disable requests sent
    Strings messages;  // after the question; empty: the download goes through
    int corruptWord = -1;
  } cases[] = {
      // Sum-frame actuators first: after a CRC reply the link asks in CRC form only.
      {0x100,
       Answer::Yes,
       0,
       "POSLOOPTUNECONST=25|VELLOOPICONST=2000",
       TransferResult::kDone,
       17,
       1,
       {}},
      {0x100,
       Answer::Yes,
       0,
       "",
       TransferResult::kDone,
       0,
       1,
       {refusal + "1 default loop parameters are incompatible with v1.00 firmware!"}},
      {0x100,
       Answer::Yes,
       0,
       "POSLOOPTUNECONST=25|VELLOOPICONST=2001",
       TransferResult::kDone,
       0,
       1,
       {refusal + "1 velocity loop I parameter is incompatible with v1.00 firmware!"}},
      {0x206,
       Answer::Yes,
       0,
       test::kLoops100,
       TransferResult::kDone,
       0,
       1,
       {refusal + "0 default loop parameters are incompatible with v1.01 or later firmware! "}},
      {0x206,
       Answer::Yes,
       kWriteDisable,
       test::kLoops100,
       TransferResult::kDone,
       0,
       3,
       {refusal + "0 default loop parameters are incompatible with v1.01 or later firmware! ",
        notDisabled}},
      {0x30A,
       Answer::No,
       0,
       "",
       TransferResult::kDeclined,
       0,
       0,
       {"Error|Setup Com Status|Setup download failed!"}},
      {0x30A, Answer::Yes, kWriteEnable, "", TransferResult::kNoReply, 0, 1, {noReply}},
      {0x30A, Answer::Yes, kCommitSetup, "", TransferResult::kNoReply, 18, 1, {noReply}},
      {0x30A, Answer::Yes, kWriteDisable, "", TransferResult::kDone, 18, 8, {notDisabled}},
      {0x305,
       Answer::Yes,
       0,
       "",
       TransferResult::kFirmwareNotSupported,
       0,
       1,
       {"Warning|Setup Download|Actuator firmware is not compatible with this version of Velmar."}},
      // The read-back finds the first word that differs: the last of page 5, the first of 17.
      {0x30A,
       Answer::Yes,
       0,
       "",
       TransferResult::kVerifyFailed,
       18,
       1,
       {"Error|Setup Com Status|Setup verification failed: page 5 differs from what was "
        "written."},
       35},
      {0x30A,
       Answer::Yes,
       0,
       "",
       TransferResult::kVerifyFailed,
       18,
       1,
       {"Error|Setup Com Status|Setup verification failed: page 17 differs from what was "
        "written."},
       102},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.messages.empty() ? "done" : c.messages.back());
    actuator = SimulatedActuator();
    Start(c.version, ModeOf(c.version));
    actuator.State().corruptWrittenWord = c.corruptWord;
    session.setup = test::Record(c.edit);
    session.serialNumber = "12345";
    ui.answers = {c.answer};
    Lose(c.lost);

    const DownloadOutcome outcome = DownloadSetupCommand(session);

    const bool done = c.messages.empty();
    EXPECT_EQ(outcome.downloaded, done);
    EXPECT_EQ(outcome.transferResult, c.result);
    Strings messages = {kNoConfiguration, kProceed};
    messages.insert(messages.end(), c.messages.begin(), c.messages.end());
    if (done) {
      messages.push_back(kDownloaded);
    }
    EXPECT_EQ(ui.Messages(), messages);
    EXPECT_EQ(Sent(kWriteWords), c.pages);
    EXPECT_EQ(actuator.CommitCount(), c.pages > 0 && c.lost != kCommitSetup ? 1 : 0);
    EXPECT_EQ(Sent(kWriteDisable), c.disables);
    EXPECT_EQ(outcome.writesLeftEnabled, c.lost == kWriteDisable);
    EXPECT_EQ(actuator.State().writesEnabled, c.lost == kWriteDisable);
    if (done) {  // the last page of the 1.00 image holds four words, and is read back whole
      EXPECT_EQ(driver.writes[driver.writes.size() - 21],
                WriteWordsRequest(false, 96, session.setup.pageImage + 192, 8));
      EXPECT_EQ(driver.writes.back(), ReadWordsRequest(false, 96));
    }
  }
}

// Restoring a file sends the file's own serial number, never the actuator's; a file that cannot
// be read or carries an impossible serial number writes nothing.
TEST_F(SetupTransferTest, RestoreFromFile) {
  const struct {
    const char* serial;   // nullptr: no file at all
    std::string message;  // empty: restored
  } cases[] = {
      {"40123", ""},
      {"99999", ""},
      {"100000", "Error|Setup Com Status|Actuator serial number invalid!"},
      {"0", "Error|Setup Com Status|Actuator serial number invalid!"},
      {"-7", "Error|Setup Com Status|Actuator serial number invalid!"},
      {nullptr, "Warning|File Error|Error opening actuator setup file."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    actuator = SimulatedActuator();
    Start(0x30A);
    session.setup = SetupParameters();
    session.serialNumber = "12345";
    const std::string path = (folder.Path() / "unit.cfg").string();
    std::filesystem::remove(path);
    if (c.serial != nullptr) {
      std::ofstream(path) << "SERIALNO = " << c.serial << "\r\nSPAN = 4.5\r\n";
    }
    ui.answers = {Answer::Yes};

    const DownloadOutcome outcome = RestoreSetupCommand(session, path);

    EXPECT_EQ(outcome.downloaded, c.message.empty());
    const std::string question =
        "Question|Setup Download|Current setup parameters will be overwritten.\n\nSetup file " +
        path + "\nActuator serial number 12345, part number 5000000-000\n\nProceed with download?";
    Strings expected;
    if (c.serial != nullptr) {
      expected.push_back(question);
    }
    expected.push_back(c.message.empty() ? kDownloaded : c.message);
    EXPECT_EQ(ui.Messages(), expected);
    EXPECT_EQ(Sent(kWriteEnable) > 0, c.message.empty());
    if (c.message.empty()) {
      EXPECT_EQ(actuator.Memory().SerialNumber(), static_cast<uint32_t>(std::stoi(c.serial)));
      EXPECT_STREQ(session.setup.SPAN, "4.5");
    }
  }
}

TEST_F(SetupTransferTest, DownloadWithoutVerificationReadsNothingBack) {
  Start(0x30A);
  actuator.State().corruptWrittenWord = 35;
  session.serialNumber = "12345";
  session.verifyDownloads = false;
  ui.answers = {Answer::Yes};

  EXPECT_TRUE(DownloadSetupCommand(session).downloaded);

  EXPECT_EQ(driver.writes.back(), Frame(true, kWriteDisable));
  EXPECT_EQ(Sent(kReadWords), 6);  // the identification, twice
}

TEST_F(SetupTransferTest, PageFiveFailingLeavesPagesZeroToFourWritten) {
  Start(0x30A);
  const auto page5 = [](const Bytes& r) { return r[1] == kWriteWords && r[3] == 30; };
  driver.lose = page5;
  ui.answers = {Answer::Yes};
  SetupTransfer transfer(session);

  EXPECT_FALSE(transfer.Download(false));

  EXPECT_EQ(transfer.TransferResult, TransferResult::kNoReply);
  EXPECT_EQ(std::count_if(driver.writes.begin(), driver.writes.end(), page5), 8);
  for (std::size_t word = 0; word < 36; ++word) {
    const uint16_t expected = word < 30 ? ImageWord(session.setup.pageImage, 2 * word) : 0;
    EXPECT_EQ(actuator.Memory().Word(word), expected) << "word " << word;
  }
  EXPECT_EQ(ui.Positions(), (std::vector<int>{0, 1, 6, 11, 16, 21, 26}));
  EXPECT_EQ(driver.writes.back(), Frame(true, kWriteDisable));
  EXPECT_FALSE(actuator.State().writesEnabled);
}

struct StopFlag : Cancellation {
  bool Requested() const override { return on; }
  bool on = false;
};

// A stop asked for while reading ends the read at once; while writing, the exchange in flight
// finishes, writes are disabled and nothing more is written.
TEST_F(SetupTransferTest, StopRequests) {
  const struct {
    bool download;
    uint8_t code;  // the stop comes as the `nth` request with this code goes out
    int nth;
    TransferResult result;
    int pages;  // pages written, or read by the upload
    int commits;
    Strings messages;
  } cases[] = {
      {true,
       kFirmwareVersion,
       0,
       TransferResult::kNoReply,
       0,
       0,
       {"Error|Setup Com Status|Download aborted, actuator failed to respond!"}},
      {true, kWriteWords, 3, TransferResult::kInterrupted, 4, 0, {}},
      {true, kCommitSetup, 0, TransferResult::kInterrupted, 18, 1, {}},
      {false,
       kReadWords,
       2,
       TransferResult::kDone,
       3,
       0,
       {"Warning|Setup Transfer Error|Setup upload page 2 request failed!",
        "Error|Setup Com Error|Setup data upload failed!"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.code));
    actuator = SimulatedActuator();
    Start(0x30A);
    session.serialNumber = "12345";
    ui.answers = {Answer::Yes};
    StopFlag stop;
    session.link.SetCancellation(&stop);
    int seen = 0;
    driver.lose = [&](const Bytes& r) {
      stop.on = stop.on || (r[1] == c.code && seen++ == c.nth);
      return false;
    };

    Strings messages;
    if (c.download) {
      const DownloadOutcome outcome = DownloadSetupCommand(session);
      EXPECT_FALSE(outcome.downloaded);
      EXPECT_EQ(outcome.transferResult, c.result);
      EXPECT_FALSE(outcome.writesLeftEnabled);
      messages = {kNoConfiguration, kProceed};
    } else {
      EXPECT_FALSE(UploadSetupCommand(session));
    }
    messages.insert(messages.end(), c.messages.begin(), c.messages.end());
    EXPECT_EQ(ui.Messages(), messages);
    EXPECT_EQ(Sent(c.download ? kWriteWords : kReadWords), c.pages);
    EXPECT_EQ(actuator.CommitCount(), c.commits);
    EXPECT_FALSE(actuator.State().writesEnabled);
    EXPECT_EQ(Sent(kWriteDisable), c.result == TransferResult::kInterrupted ? 1 : 0);
    // Once a read sees the stop nothing else is asked for.
    if (c.code != kWriteWords && c.code != kCommitSetup) {
      EXPECT_EQ(driver.writes.back()[1], c.code);
    }
    session.link.SetCancellation(nullptr);
  }
}

// The approved setup comes from the database, or nothing is written: a damaged entry, a file
// without a setup key, a missing entry and values the setup pages refuse all stop the command
// before writes are enabled; refused values go through only when the check is not asked for.
TEST_F(SetupTransferTest, DownloadWritesOnlyAnApprovedSetupThatLoadsAndPassesThePageChecks) {
  enum Archive { kSound, kDamaged, kNoManifest };
  const std::string damaged =
      "Warning|Program Error|Configuration database entry C1.cfg is damaged.";
  const std::string proceed =
      "Question|Setup Download|Current setup parameters will be overwritten.\n\nConfiguration "
      "C1\nActuator serial number 12345, part number 5000000-000\n\nProceed with download?";
  const std::string refused =
      "Warning|Program Error|The setup holds values outside the setup pages' ranges:\n"
      "SPAN = 7.0: Enter a number between 0.1 and 5.9.\n"
      "MAXVEL = 11: Enter an integer between 1 and 10.";
  const struct {
    const char* what;
    const char* entry;  // C1.cfg's contents; nullptr: no such entry
    Archive archive;
    bool checked;
    Strings messages;
    const char* maxVelocity;  // what the record holds afterwards
  } cases[] = {
      {"sound", "MAXVEL = 7\r\n", kSound, true, {proceed, kDownloaded}, "7"},
      {"without manifest", "MAXVEL = 7\r\n", kNoManifest, true, {proceed, kDownloaded}, "7"},
      {"damaged", "MAXVEL = 7\r\n", kDamaged, true, {damaged}, "3"},
      {"no setup key",
       "; MAXVEL = 7\r\nSPEED = 7\r\n",
       kSound,
       true,
       {"Warning|File Error|Error opening actuator setup file.", kNoConfiguration},
       "3"},
      {"missing", nullptr, kSound, false, {kNoConfiguration}, "3"},
      {"refused", "SPAN = 7.0\r\nMAXVEL = 11\r\n", kSound, true, {refused}, "11"},
      {"not checked", "SPAN = 7.0\r\nMAXVEL = 11\r\n", kSound, false, {proceed, kDownloaded}, "11"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    actuator = SimulatedActuator();
    Start(0x30A);
    session.serialNumber = "12345";
    session.setup = test::Record("MAXVEL=3");
    std::vector<ArchiveSource> sources = {{"Other.cfg", {'S', 'P', 'A', 'N', '=', '1'}, 0}};
    if (c.entry != nullptr) {
      sources.push_back({"C1.cfg", {c.entry, c.entry + std::strlen(c.entry)}, 0x01790000u});
    }
    std::vector<std::uint8_t> archive;
    std::string error;
    ASSERT_TRUE(BuildArchive(sources,
                             {true, std::string(kConfigurationPassword), c.archive != kNoManifest},
                             archive, error));
    if (c.archive == kDamaged) {
      archive[archive.size() - 3] ^= 0x01;  // in C1.cfg's data, the last entry's
    }
    test::WriteBytes(folder.Path() / "config.db", std::string(archive.begin(), archive.end()));
    session.OpenConfigDatabase(folder.Path() / "config.db");
    session.configList->configFileName = "C1.cfg";
    ui.answers = {Answer::Yes};

    const DownloadOutcome outcome = DownloadSetupCommand(session, {c.checked});

    const bool written = c.messages.back() == kDownloaded;
    EXPECT_EQ(outcome.downloaded, written);
    EXPECT_EQ(outcome.refusedByChecks, c.messages.front() == refused);
    EXPECT_EQ(ui.Messages(), c.messages);
    EXPECT_EQ(Sent(kWriteEnable) > 0, written);
    EXPECT_EQ(actuator.CommitCount(), written ? 1 : 0);
    EXPECT_STREQ(session.setup.MAXVEL, c.maxVelocity);
  }
}

}  // namespace
}  // namespace velmar
