#include "faults/fault_config_link.h"

namespace velmar {

namespace {

constexpr int kResetStateBit = 0x02;
constexpr int kWritePauseMs = 100;
constexpr int kChecksumEndPauseMs = 100;
constexpr int kChecksumProgressPerSlot = 6;

}  // namespace

bool FaultConfigResetCheck(FaultConfigPorts& ports) {
  int flags = 0;
  if (ports.link.RequestModeStatus(flags) != LinkResult::kSuccess) {
    ports.ui.ShowMessage(MessageKind::Warning, "Actuator failed to respond to status request.",
                         kProgramStatusCaption);
    return false;
  }
  if ((flags & kResetStateBit) == 0) {
    ports.ui.ShowMessage(MessageKind::Warning,
                         "Actuator must be in RESET state to read fault configuration.",
                         kProgramStatusCaption);
    return false;
  }
  return true;
}

bool ComputeFaultConfigChecksum(FaultConfigPorts& ports, uint16_t& sum) {
  ports.ui.BeginProgress(ProgressKind::ProgramStatus, " Updating Fault Configuration Data...");
  ports.ui.SetProgressPosition(0);
  bool everySlot = true;
  uint16_t total = 0;
  int position = 0;
  for (int slot = 0; slot < kFaultSlotCount; ++slot) {
    FaultSlotWords words{};
    if (ports.link.ReadRecordSlot(static_cast<uint16_t>(kFirstFaultSlot + slot * kFaultSlotBytes),
                                  words.data()) != LinkResult::kSuccess) {
      everySlot = false;
      continue;
    }
    for (int word = 0; word < kFaultRecordWords; ++word) {
      total = static_cast<uint16_t>(total + words[word]);
    }
    position += kChecksumProgressPerSlot;
    ports.ui.SetProgressPosition(position);
  }
  ports.ui.SetProgressPosition(100);
  ports.clock.SleepMs(kChecksumEndPauseMs);
  ports.ui.EndProgress();
  sum = total;
  return everySlot;
}

LinkResult WriteFaultRecord(FaultConfigPorts& ports, uint16_t address,
                            const FaultConfigRecord& record) {
  constexpr int kFirstWordOf[] = {0, 3, 4};
  constexpr uint16_t kOffsetOf[] = {0, 6, 8};
  for (int part = 0; part < 3; ++part) {
    ports.clock.SleepMs(kWritePauseMs);
    const LinkResult result = ports.link.WriteRecordWords(
        static_cast<uint16_t>(address + kOffsetOf[part]), record.words.data() + kFirstWordOf[part]);
    if (result != LinkResult::kSuccess) {
      return result;
    }
  }
  return LinkResult::kSuccess;
}

LinkResult WriteFaultChecksumRecord(ActuatorLink& link, uint16_t sum) {
  const uint16_t words[3] = {sum, static_cast<uint16_t>(sum ^ 0xFFFF),
                             static_cast<uint16_t>(sum + 1)};
  return link.WriteRecordWords(kFaultChecksumAddress, words);
}

}  // namespace velmar
