// The setup upload and download with one line fault at each of their exchanges, over the
// in-process simulator in virtual time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/setup_transfer_commands.h"
#include "base/temp_folder.h"
#include "setup/pack_setup.h"
#include "setup/setup_page_image.h"
#include "support/frame_literals.h"
#include "unit/app/sim_bench.h"
#include "unit/setup/record_fields.h"

namespace velmar {
namespace {

using test::Bytes;
using Strings = std::vector<std::string>;

enum class Fault { kDrop, kCorruptCheck, kNak, kStrayByte, kSplitReply, kDeviceGone };
constexpr Fault kFaults[] = {Fault::kDrop,      Fault::kCorruptCheck, Fault::kNak,
                             Fault::kStrayByte, Fault::kSplitReply,   Fault::kDeviceGone};
constexpr const char* kFaultNames[] = {"drop",       "corrupt check", "nak",
                                       "stray byte", "split reply",   "device gone"};

constexpr int kVersion = 0x30A;
const std::string kNoConfiguration =
    "Warning|Program Error|Configuration parameters do not exist for this part number";
const std::string kProceed =
    "Question|Setup Download|Current setup parameters will be overwritten.\n\nProceed with "
    "download?";
const std::string kDownloaded =
    "Information|Setup Com Status|Setup download successful.\n\nNOTE: The Orvik part number on "
    "the nameplate must be\nre-identified to reflect the downloaded Orvik part number!";
const std::string kNoReply = "Error|Setup Com Status|Download aborted, actuator failed to respond!";
const std::string kNotDisabled =
    "Error|Setup Com Status|Actuator did not confirm the end of writing. Reset the actuator before "
    "use.";
const std::string kUploadFailed = "Error|Setup Com Error|Setup data upload failed!";
const std::string kNoStatus = "Warning|Program Error|Actuator failed to respond to status request.";

int IndexOf(const std::vector<Bytes>& requests, uint8_t code) {
  const auto found = std::find_if(requests.begin(), requests.end(),
                                  [code](const Bytes& r) { return r[1] == code; });
  return static_cast<int>(found - requests.begin());
}

class TransferFaultMatrix : public ::testing::Test, public test::SimBench {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.Valid());
    const auto path = folder.Path() / "Configurations.cfg";
    std::ofstream(path) << "C1 5000000-000 Stand alone, 1.00 99.99\r\n";
    ASSERT_EQ(session.catalogue.Load(path), 0);
    SetupParameters held = test::Record("SERIALNO=12345|SPAN=4.5|SEATINGFORCE=1800");
    PackSetup(held, kVersion);
    heldImage.assign(held.pageImage, held.pageImage + SetupImageSize(kVersion));
  }

  // A fresh actuator holding the held image, connected as the poll would have left it, and
  // `fault` armed for the reply to request `index` of the command (counted from 0).
  void Start(Fault fault, int index) {
    actuator = SimulatedActuator(test::Actuator(kVersion));
    for (std::size_t word = 0; word < heldImage.size() / 2; ++word) {
      actuator.Memory().SetWord(word, ImageWord(heldImage, 2 * word));
    }
    driver.gone = false;
    driver.lose = nullptr;
    session.link.ClosePort();
    session.link.OpenPort(1, 19200);
    ASSERT_EQ(session.VerifyCommunication(), 0);
    driver.writes.clear();
    ui.events.clear();
    ui.answers = {Answer::Yes};
    session.serialNumber = "12345";
    session.setup = test::Record("SPAN=3.25|MAXFORCE=900");
    int request = 0;
    driver.lose = [this, fault, index, request](const Bytes&) mutable {
      if (request++ != index) {
        return false;
      }
      switch (fault) {
        case Fault::kDrop:
          actuator.DropReplies(1);
          break;
        case Fault::kCorruptCheck:
          actuator.CorruptNextCheck();
          break;
        case Fault::kNak:
          actuator.NakNextRequest();
          break;
        case Fault::kStrayByte:
          actuator.PrefixStrayByte(0x55);
          break;
        case Fault::kSplitReply:
          actuator.SplitNextReply(4, 10);
          break;
        case Fault::kDeviceGone:
          driver.gone = true;
          break;
      }
      return false;
    };
  }

  bool DisableSentFrom(int index) const {
    return std::any_of(driver.writes.begin() + index, driver.writes.end(),
                       [](const Bytes& r) { return r[1] == kWriteDisable; });
  }

  TempFolder folder;
  std::vector<uint8_t> heldImage;
};

// A single damaged or missing reply is retried through; a device that goes away fails the command
// with the message of the step it was in, and disables writes whenever they were enabled.
TEST_F(TransferFaultMatrix, Download) {
  Start(Fault::kDrop, -1);
  ASSERT_TRUE(DownloadSetupCommand(session).downloaded);
  const std::vector<Bytes> clean = driver.writes;
  const int status = IndexOf(clean, kStatusRequest);
  const int enable = IndexOf(clean, kWriteEnable);
  const int disable = IndexOf(clean, kWriteDisable);
  ASSERT_LT(disable, static_cast<int>(clean.size()));

  for (int index = 0; index < static_cast<int>(clean.size()); ++index) {
    for (const Fault fault : kFaults) {
      SCOPED_TRACE(std::string(kFaultNames[static_cast<int>(fault)]) + " at request " +
                   std::to_string(index));
      Start(fault, index);

      const DownloadOutcome outcome = DownloadSetupCommand(session);

      if (fault != Fault::kDeviceGone) {
        EXPECT_TRUE(outcome.downloaded);
        EXPECT_EQ(ui.Messages(), (Strings{kNoConfiguration, kProceed, kDownloaded}));
        for (int page = 0; page < SetupPageCount(kVersion); ++page) {
          EXPECT_EQ(actuator.Memory().Word(6 * page),
                    ImageWord(session.setup.pageImage, 12 * page));
        }
        EXPECT_FALSE(actuator.State().writesEnabled);
        continue;
      }
      const bool writing = index >= enable && index <= disable;
      Strings expected;
      if (index < status) {
        expected = {"Warning|Program Error|Actuator failed to respond to part number request."};
      } else if (index == status) {
        expected = {kNoStatus};
      } else {
        // Gone at the final write-disable, everything before it went through.
        expected = {kNoConfiguration, kProceed};
        if (index != disable) {
          expected.push_back(kNoReply);
        }
        if (writing) {
          expected.push_back(kNotDisabled);
        }
      }
      EXPECT_FALSE(outcome.downloaded);
      EXPECT_EQ(ui.Messages(), expected);
      EXPECT_EQ(outcome.writesLeftEnabled, writing);
      EXPECT_EQ(DisableSentFrom(index), writing);
    }
  }
}

TEST_F(TransferFaultMatrix, Upload) {
  Start(Fault::kDrop, -1);
  ASSERT_TRUE(UploadSetupCommand(session));
  const std::vector<Bytes> clean = driver.writes;
  const SetupParameters uploaded = session.setup;
  const int firstPage = IndexOf(clean, kReadWords);

  for (int index = 0; index < static_cast<int>(clean.size()); ++index) {
    for (const Fault fault : kFaults) {
      SCOPED_TRACE(std::string(kFaultNames[static_cast<int>(fault)]) + " at request " +
                   std::to_string(index));
      Start(fault, index);
      const SetupParameters before = session.setup;

      const bool done = UploadSetupCommand(session);

      const bool gone = fault == Fault::kDeviceGone;
      EXPECT_EQ(done, !gone);
      const SetupParameters& expectedRecord = gone ? before : uploaded;
      EXPECT_EQ(std::memcmp(&session.setup, &expectedRecord, sizeof(SetupFields)), 0);
      Strings expected;
      if (gone && clean[index][1] == kStatusRequest) {
        expected = {kNoStatus};
      } else if (gone && index < firstPage) {
        expected = {kUploadFailed};
      } else if (gone) {
        expected = {"Warning|Setup Transfer Error|Setup upload page " +
                        std::to_string(index - firstPage) + " request failed!",
                    kUploadFailed};
      }
      EXPECT_EQ(ui.Messages(), expected);
    }
  }
}

}  // namespace
}  // namespace velmar
