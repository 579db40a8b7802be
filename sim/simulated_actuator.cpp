#include "simulated_actuator.h"

#include <algorithm>

#include "base/little_endian.h"
#include "fault_data.h"
#include "link/firmware_versions.h"

namespace velmar {

namespace {

constexpr size_t kPageWords = 6;

void Put16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, static_cast<uint16_t>(value & 0xFFFF));
  Put16(out, static_cast<uint16_t>(value >> 16));
}

// Position fields of the status reply carry their high word first.
void Put32HighFirst(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, static_cast<uint16_t>(value >> 16));
  Put16(out, static_cast<uint16_t>(value & 0xFFFF));
}

}  // namespace

SimulatedActuator::SimulatedActuator(const ActuatorState& state, const LineTiming& timing)
    : state_(state), timing_(timing), assembler_(timing.frameGapMs), line_(timing.baud) {
  memory_.SetSerialNumber(kDefaultSerialNumber);
  memory_.SetModelNumber(kDefaultModelNumber);
  memory_.SetPartNumber(kDefaultPartNumber);
}

void SimulatedActuator::Input(const uint8_t* data, size_t length, int64_t nowMs) {
  std::vector<Request> requests;
  assembler_.Feed(data, length, nowMs, requests);
  const int64_t readyUs = (nowMs + timing_.processingDelayMs) * 1000;
  for (const Request& request : requests) {
    Handle(request, readyUs);
  }
}

bool SimulatedActuator::Supports(uint8_t code) const {
  switch (code) {
    case kRunHoursRequest:
    case kResetRunHours:
      return FirmwareVersion() >= kFirmware202;
    case kPoweredHoursRequest:
      return FirmwareVersion() >= kFirmware206;
    default:
      return true;
  }
}

void SimulatedActuator::Handle(const Request& request, int64_t readyUs) {
  const bool crcOnly = IsCrcOnly(request.code);
  if (!crcOnly && request.form != state_.frameMode) {
    return;
  }
  if (!Supports(request.code)) {
    return;
  }
  receivedCodes_.push_back(request.code);
  if (loseAfter_ > 0) {
    --loseAfter_;
  } else if (loseCount_ > 0) {
    --loseCount_;
    return;
  }
  const FrameMode mode = crcOnly ? FrameMode::kCrc : state_.frameMode;
  if (nakNext_) {
    nakNext_ = false;
    Reply(kNegativeAcknowledge, {}, mode, readyUs);
    return;
  }
  std::vector<uint8_t> data;
  switch (request.code) {
    case kWriteEnable:
      state_.writesEnabled = true;
      Reply(kAcknowledge, {}, mode, readyUs);
      return;
    case kWriteDisable:
      state_.writesEnabled = false;
      Reply(kAcknowledge, {}, mode, readyUs);
      return;
    case kCommitSetup:
      Commit(readyUs);
      return;
    case kPrepareUpload:
      Reply(kAcknowledge, {}, mode, readyUs);
      return;
    case kFirmwareVersion:
      Reply(kFirmwareVersion, {state_.firmwareMajor, state_.firmwareMinor}, mode, readyUs);
      return;
    case kClearFaults:
      state_.status.faultBits = 0;
      if (FirmwareVersion() < kFirmware300) {
        EraseFaultFile(memory_);
      }
      Reply(kAcknowledge, {}, mode, readyUs);
      return;
    case kSpanRequest:
      Put32(data, state_.span);
      Put16(data, 0);
      Reply(kSpanReply, data, mode, readyUs);
      return;
    case kStatusRequest:
      Reply(kStatusReply, StatusData(), mode, readyUs);
      return;
    case kMaxForceRequest:
      Put16(data, state_.maxForce);
      Reply(kMaxForceReply, data, mode, readyUs);
      return;
    case kRunHoursRequest:
      if (FirmwareVersion() >= kFirmware206) {
        Put32(data, state_.runHours);
      } else {
        Put16(data, static_cast<uint16_t>(std::min<uint32_t>(state_.runHours / 4, 0xFFFF)));
      }
      Reply(kRunHoursReply, data, mode, readyUs);
      return;
    case kResetRunHours:
      state_.runHours = 0;
      Reply(kAcknowledge, {}, mode, readyUs);
      return;
    case kPoweredHoursRequest:
      Put32(data, state_.poweredHours);
      Reply(kPoweredHoursReply, data, mode, readyUs);
      return;
    case kReadWords:
      ReadWords(request.data, readyUs);
      return;
    case kWriteWords:
      WriteWords(request.data, readyUs);
      return;
    case kReadMemoryWord:
      ReadMemoryWord(request.data, readyUs);
      return;
    case kWriteMemoryWord:
      WriteMemoryWord(request.data, readyUs);
      return;
    default:
      return;
  }
}

void SimulatedActuator::Reply(uint8_t code, const std::vector<uint8_t>& data, FrameMode mode,
                              int64_t readyUs) {
  line_.Send(BuildFrame(code, data, mode), readyUs);
}

void SimulatedActuator::ReadWords(const std::vector<uint8_t>& data, int64_t readyUs) {
  const size_t address = ReadLe16(&data[0]);
  const size_t count = ReadLe16(&data[2]);
  if (count != kPageWords || !SimMemory::Holds(address, count)) {
    Reply(kNegativeAcknowledge, {}, state_.frameMode, readyUs);
    return;
  }
  std::vector<uint8_t> words;
  for (size_t i = 0; i < count; ++i) {
    Put16(words, memory_.Word(address + i));
  }
  Reply(kWordsReply, words, state_.frameMode, readyUs);
}

void SimulatedActuator::WriteWords(const std::vector<uint8_t>& data, int64_t readyUs) {
  const size_t address = ReadLe16(&data[0]);
  const size_t count = (data.size() - 2) / 2;
  // The fault log is written without a write-enable; the rest of memory needs one.
  const bool logWrite = count > 0 && InFaultLog(address) && InFaultLog(address + count - 1);
  const bool refused = logWrite && (LogSlotOf(address) == state_.failingLogSlot ||
                                    LogSlotOf(address + count - 1) == state_.failingLogSlot);
  if ((!state_.writesEnabled && !logWrite) || refused || !SimMemory::Holds(address, count)) {
    Reply(kNegativeAcknowledge, {}, state_.frameMode, readyUs);
    return;
  }
  for (size_t i = 0; i < count; ++i) {
    memory_.SetWord(address + i, ReadLe16(&data[2 + 2 * i]));
  }
  uncommittedWrites_ = true;
  Reply(kAcknowledge, {}, state_.frameMode, readyUs);
  const size_t ackLength = state_.frameMode == FrameMode::kSum ? 4 : 5;
  const int64_t doneUs = readyUs + static_cast<int64_t>(ackLength) * line_.ByteTimeUs() +
                         int64_t{timing_.writeDoneDelayMs} * 1000;
  Reply(kWriteDone, {}, state_.frameMode, doneUs);
}

void SimulatedActuator::ReadMemoryWord(const std::vector<uint8_t>& data, int64_t readyUs) {
  const size_t address = ReadLe16(&data[0]);
  if (!SimMemory::Holds(address, 1)) {
    Reply(kNegativeAcknowledge, {}, FrameMode::kCrc, readyUs);
    return;
  }
  std::vector<uint8_t> value;
  Put16(value, memory_.Word(address));
  Reply(kMemoryWordReply, value, FrameMode::kCrc, readyUs);
}

void SimulatedActuator::WriteMemoryWord(const std::vector<uint8_t>& data, int64_t readyUs) {
  const size_t address = ReadLe16(&data[0]);
  if (!SimMemory::Holds(address, 1)) {
    Reply(kNegativeAcknowledge, {}, FrameMode::kCrc, readyUs);
    return;
  }
  memory_.SetWord(address, ReadLe16(&data[2]));
  Reply(kAcknowledge, {}, FrameMode::kCrc, readyUs);
}

void SimulatedActuator::Commit(int64_t readyUs) {
  if (!state_.writesEnabled) {
    Reply(kNegativeAcknowledge, {}, state_.frameMode, readyUs);
    return;
  }
  uncommittedWrites_ = false;
  ++commitCount_;
  if (commitHandler_) {
    commitHandler_();
  }
  Reply(kAcknowledge, {}, state_.frameMode, readyUs);
}

std::vector<uint8_t> SimulatedActuator::StatusData() const {
  const StatusValues& s = state_.status;
  std::vector<uint8_t> data;
  for (uint16_t temperature : s.motorTemperature) {
    Put16(data, temperature);
  }
  Put16(data, s.electronicsTemperature);
  Put16(data, static_cast<uint16_t>(s.motorCurrent));
  Put32HighFirst(data, s.positionDemand);
  Put32HighFirst(data, s.position);
  Put16(data,
        static_cast<uint16_t>((s.otherFlags & ~3u) | static_cast<uint16_t>(state_.modeState)));
  Put16(data, static_cast<uint16_t>(s.plus14V));
  Put16(data, static_cast<uint16_t>(s.minus14V));
  Put16(data, static_cast<uint16_t>(s.plus120V));
  Put16(data, s.faultBits);
  return data;
}

}  // namespace velmar
