#include "simulated_actuator.h"

#include <algorithm>

#include "base/little_endian.h"
#include "fault_data.h"
#include "link/firmware_versions.h"

namespace velmar {

namespace {

constexpr size_t kPageWords = 6;
// The demand input's counts for 0 % and the span of its range.
constexpr int64_t kDemandInputZero = 13107;
constexpr int64_t kDemandInputRange = 65535 - kDemandInputZero;

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
    if (trace_ != nullptr) {
      trace_->Record(nowMs, TraceDirection::kReceived, request.frame.data(),
                     static_cast<int>(request.frame.size()));
    }
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
      ReplyStatus(readyUs);
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
  Transmit(BuildFrame(code, data, mode), readyUs);
}

void SimulatedActuator::Transmit(std::vector<uint8_t> frame, int64_t readyUs) {
  if (trace_ != nullptr) {
    trace_->Record(readyUs / 1000, TraceDirection::kSent, frame.data(),
                   static_cast<int>(frame.size()));
  }
  line_.Send(std::move(frame), readyUs);
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
    const bool corrupt = static_cast<int>(address + i) == state_.corruptWrittenWord;
    memory_.SetWord(address + i, ReadLe16(&data[2 + 2 * i]) ^ (corrupt ? 1 : 0));
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

void SimulatedActuator::ReplyStatus(int64_t readyUs) {
  if (statusHandler_) {
    statusHandler_();
  }
  MoveTowardDemand(readyUs / 1000);
  std::vector<uint8_t> frame = BuildFrame(kStatusReply, StatusData(), FrameMode::kCrc);
  if (statusFaultCount_ != 0) {
    switch (statusFault_) {
      case StatusFault::kNone:
        break;
      case StatusFault::kShort:
        frame.pop_back();
        break;
      case StatusFault::kLong:
        frame.push_back(0x00);
        break;
      case StatusFault::kBadCheck:
        frame.back() ^= 0xFF;
        break;
      case StatusFault::kWrongCode:
        frame = BuildFrame(kMaxForceReply, StatusData(), FrameMode::kCrc);
        break;
    }
    statusFaultCount_ -= statusFaultCount_ > 0 ? 1 : 0;
  }
  Transmit(std::move(frame), readyUs);
}

void SimulatedActuator::MoveTowardDemand(int64_t nowMs) {
  StatusValues& s = state_.status;
  const int64_t elapsedMs = lastMotionMs_ < 0 ? 0 : nowMs - lastMotionMs_;
  lastMotionMs_ = nowMs;
  if (s.travelCountsPerSecond == 0) {
    return;
  }
  int64_t target = static_cast<int32_t>(s.positionDemand);
  if (FirmwareVersion() >= kFirmware300) {
    const int64_t input = s.positionDemand >> 16;
    target = input < kDemandInputZero ? 0
                                      : (input - kDemandInputZero) *
                                            static_cast<int64_t>(state_.span) / kDemandInputRange;
  }
  const int64_t position = static_cast<int32_t>(s.position);
  const int64_t step = static_cast<int64_t>(s.travelCountsPerSecond) * elapsedMs / 1000;
  const int64_t moved =
      position < target ? std::min(position + step, target) : std::max(position - step, target);
  s.position = static_cast<uint32_t>(static_cast<int32_t>(moved));
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
