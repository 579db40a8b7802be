// Serves the input to the link's receive paths and the communication poll: each step lets some
// bytes arrive in pieces at chosen virtual times, then runs one receive or exchange on them.
#include <fuzzer/FuzzedDataProvider.h>

#include "app/communication_poll.h"
#include "app/session.h"
#include "support/recording_ui.h"
#include "support/scripted_serial_driver.h"
#include "support/virtual_clock.h"

using namespace velmar;

namespace {

void ArriveInPieces(FuzzedDataProvider& input, test::ScriptedSerialDriver& driver) {
  const int pieces = input.ConsumeIntegralInRange(0, 4);
  for (int piece = 0; piece < pieces; ++piece) {
    const int delayMs = input.ConsumeIntegralInRange(0, 1200);
    driver.Arrive(input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange(0, 48)), delayMs);
  }
}

void RunStep(FuzzedDataProvider& input, Session& session, CommunicationPoll& poll) {
  ActuatorLink& link = session.link;
  // Room for the longest write; reads fill the first six.
  uint16_t words[14] = {};
  uint16_t slot[9] = {};
  int flags = 0;
  const uint16_t address = input.ConsumeIntegral<uint16_t>();
  const FrameForm form = input.ConsumeBool() ? FrameForm::kCrc : FrameForm::kCurrentMode;
  switch (input.ConsumeIntegralInRange(0, 24)) {
    case 0:
      link.ReceiveFrame(input.ConsumeIntegralInRange(0, 400), input.ConsumeIntegralInRange(0, 140));
      break;
    case 1:
      link.ReceiveAck();
      break;
    case 2:
      link.ReceiveWriteDone();
      break;
    case 3:
      link.ReceiveWords();
      break;
    case 4:
      link.ReceiveFirmwareVersion();
      break;
    case 5:
      link.ReadWords(address, form);
      break;
    case 6:
      link.WriteWords(address, words, input.ConsumeIntegralInRange(0, 14), form);
      break;
    case 7:
      link.EnableWrites();
      break;
    case 8:
      link.DisableWrites();
      break;
    case 9:
      link.DisableWritesAfterDownload();
      break;
    case 10:
      link.WriteRecordWords(address, words);
      break;
    case 11:
      link.ReadRecordSlot(address, slot);
      break;
    case 12:
      link.ClearFaults();
      break;
    case 13:
      link.ReadIdentification();
      break;
    case 14:
      link.RequestSpan();
      break;
    case 15:
      link.RequestMaxForce();
      break;
    case 16:
      link.RequestRunHours16();
      break;
    case 17:
      link.RequestRunHours32();
      break;
    case 18:
      link.RequestPoweredHours();
      break;
    case 19:
      link.ReadMemoryWord(address, words[0]);
      break;
    case 20:
      link.RequestModeStatus(flags);
      break;
    case 21:
      link.ReadLogWords(address, words);
      break;
    case 22:
      link.ReadFaultFileWords(address, words);
      break;
    case 23:
      session.VerifyCommunication();
      break;
    default:
      poll.Tick();
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  test::VirtualClock clock;
  test::ScriptedSerialDriver driver(clock);
  test::RecordingUi ui;
  Session session(driver, clock, ui, "/nonexistent");
  CommunicationPoll poll(session);
  poll.comIndicatorsEnabled = true;
  session.link.OpenPort(1, 19200);
  session.link.SetCrcMode(input.ConsumeBool());
  session.link.SetFirmwareVersion(input.ConsumeIntegral<uint16_t>());
  while (input.remaining_bytes() > 0) {
    ArriveInPieces(input, driver);
    RunStep(input, session, poll);
  }
  // Whatever the replies said, the identification texts stay terminated inside their fields.
  if (strlen(session.link.IdentSerialNumber()) > 11 ||
      strlen(session.link.IdentModelNumber()) > 12 || strlen(session.link.IdentPartNumber()) > 16) {
    __builtin_trap();
  }
  return 0;
}
