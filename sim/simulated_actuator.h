#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "frame_assembler.h"
#include "link/frame_trace.h"
#include "reply_line.h"
#include "sim_frames.h"
#include "sim_memory.h"

namespace velmar {

// Operating mode, as bits 0-1 of the status flags report it.
enum class ModeState : uint16_t { kRunOff = 0, kRunOn = 1, kReset = 2 };

inline constexpr uint32_t kDefaultSerialNumber = 12345;
inline constexpr const char* kDefaultModelNumber = "LMX4100-262K";
inline constexpr const char* kDefaultPartNumber = "5000000-000";

// The live values of the 33-byte status reply, raw counts as the actuator sends them.
struct StatusValues {
  // About 25 degrees C on the motor thermistors and the electronics sensor.
  std::array<uint16_t, 3> motorTemperature{930, 930, 930};
  uint16_t electronicsTemperature = 393;
  int16_t motorCurrent = 0;
  uint32_t positionDemand = 0;
  uint32_t position = 0;
  // Status flag bits 2-15; bits 0-1 always come from the mode state.
  uint16_t otherFlags = 0;
  // 14.0 V, 14.0 V and 120 V.
  int16_t plus14V = 716;
  int16_t minus14V = 716;
  int16_t plus120V = 613;
  uint16_t faultBits = 0;
  // How fast the position moves toward the demand; 0 holds it where it is set.
  uint32_t travelCountsPerSecond = 0;
};

// Damage done to status replies, for the monitor's tests: one byte missing, one byte too many, a
// wrong check, or a good frame with the maximum-force code.
enum class StatusFault { kNone, kShort, kLong, kBadCheck, kWrongCode };

// Everything the actuator reports besides its memory. Tests may change it at any time.
struct ActuatorState {
  uint8_t firmwareMajor = 3;
  uint8_t firmwareMinor = 10;
  FrameMode frameMode = FrameMode::kCrc;
  ModeState modeState = ModeState::kReset;
  StatusValues status;
  uint32_t span = 0x1DFFFF;
  uint16_t maxForce = 807;
  // Whole hours; firmware before 2.06 reports them in units of four hours.
  uint32_t runHours = 0;
  uint32_t poweredHours = 0;
  bool writesEnabled = false;
  // Fault injection: writes into this fault log slot (0..15) are refused; -1 for none.
  int failingLogSlot = -1;
  // Fault injection: a write to this memory word stores it with its lowest bit flipped, so the
  // page reads back different; -1 for none.
  int corruptWrittenWord = -1;
};

struct LineTiming {
  int baud = 19200;
  // From the end of a request to the first reply byte.
  int processingDelayMs = 2;
  // From the end of a WriteWords acknowledge to the write-done reply: the memory write.
  int writeDoneDelayMs = 30;
  // Silence after which a partial request frame is discarded.
  int frameGapMs = 10;
};

// An actuator on the far end of the serial line: bytes in, paced reply bytes out, on a clock
// supplied by the caller. Requests are answered in the order they complete; each reply leaves
// after the processing delay at 10 bits per byte. Requests with both forms are understood only
// in the actuator's own format; CRC-only requests are answered in CRC form whatever the format.
// A request with a bad check, an unknown code or a wrong length gets no reply, like noise on
// the line; a well-formed request the actuator cannot carry out gets a negative acknowledge.
class SimulatedActuator {
 public:
  explicit SimulatedActuator(const ActuatorState& state = {}, const LineTiming& timing = {});

  // Bytes from the PC, received at `nowMs`.
  void Input(const uint8_t* data, size_t length, int64_t nowMs);
  // Reply bytes that have fully arrived by `nowMs`.
  size_t Pending(int64_t nowMs) const { return line_.Pending(nowMs); }
  size_t Take(uint8_t* out, size_t max, int64_t nowMs) { return line_.Take(out, max, nowMs); }
  // Forgets every reply byte not yet taken.
  void DropOutput() { line_.Drop(); }
  // Millisecond at which the next reply byte is due; -1 when no reply is on its way.
  int64_t NextDeliveryMs() const { return line_.NextDeliveryMs(); }

  ActuatorState& State() { return state_; }
  const ActuatorState& State() const { return state_; }
  SimMemory& Memory() { return memory_; }
  const SimMemory& Memory() const { return memory_; }
  // major × 256 + minor.
  int FirmwareVersion() const { return state_.firmwareMajor * 256 + state_.firmwareMinor; }

  // Codes of the requests the actuator understood, in order of arrival.
  const std::vector<uint8_t>& ReceivedCodes() const { return receivedCodes_; }
  int CommitCount() const { return commitCount_; }
  // Whether WriteWords changed memory since the last commit.
  bool HasUncommittedWrites() const { return uncommittedWrites_; }
  // Called on every accepted commit, after the memory is marked committed.
  void SetCommitHandler(std::function<void()> handler) { commitHandler_ = std::move(handler); }

  // Fault injection, each for the next reply frames sent (an acknowledge and the write-done
  // that follows it are two replies).
  void DropReplies(int count) { line_.DropReplies(count); }
  void DelayReplies(int count, int delayMs) { line_.DelayReplies(count, delayMs); }
  void CorruptNextCheck() { line_.CorruptNextCheck(); }
  void PrefixStrayByte(uint8_t value) { line_.PrefixStrayByte(value); }
  // The first `firstChunkBytes` bytes, then a silence of `gapMs`, then the rest.
  void SplitNextReply(size_t firstChunkBytes, int gapMs) {
    line_.SplitNextReply(firstChunkBytes, gapMs);
  }
  // The next understood request is refused with a negative acknowledge and not carried out.
  void NakNextRequest() { nakNext_ = true; }
  // Damages the next `count` status replies, or every one with a negative count.
  void InjectStatusFault(StatusFault fault, int count = -1) {
    statusFault_ = fault;
    statusFaultCount_ = count;
  }
  // Logs every request understood and every reply sent (before the injected line faults);
  // nullptr stops it.
  void SetTrace(FrameTrace* trace) { trace_ = trace; }
  // Called before every status reply is composed, so its values can be refreshed.
  void SetStatusHandler(std::function<void()> handler) { statusHandler_ = std::move(handler); }
  // After `after` more understood requests, the next `count` are lost: not carried out, no reply.
  void LoseRequests(int after, int count) {
    loseAfter_ = after;
    loseCount_ = count;
  }

 private:
  void Handle(const Request& request, int64_t readyUs);
  bool Supports(uint8_t code) const;
  void Transmit(std::vector<uint8_t> frame, int64_t readyUs);
  void Reply(uint8_t code, const std::vector<uint8_t>& data, FrameMode mode, int64_t readyUs);
  void ReadWords(const std::vector<uint8_t>& data, int64_t readyUs);
  void WriteWords(const std::vector<uint8_t>& data, int64_t readyUs);
  void ReadMemoryWord(const std::vector<uint8_t>& data, int64_t readyUs);
  void WriteMemoryWord(const std::vector<uint8_t>& data, int64_t readyUs);
  void Commit(int64_t readyUs);
  std::vector<uint8_t> StatusData() const;
  void ReplyStatus(int64_t readyUs);
  // Moves the position toward where the demand points, at the travel speed.
  void MoveTowardDemand(int64_t nowMs);

  ActuatorState state_;
  LineTiming timing_;
  SimMemory memory_;
  FrameAssembler assembler_;
  ReplyLine line_;
  std::vector<uint8_t> receivedCodes_;
  int commitCount_ = 0;
  bool uncommittedWrites_ = false;
  bool nakNext_ = false;
  int loseAfter_ = 0;
  int loseCount_ = 0;
  std::function<void()> commitHandler_;
  std::function<void()> statusHandler_;
  FrameTrace* trace_ = nullptr;
  StatusFault statusFault_ = StatusFault::kNone;
  int statusFaultCount_ = 0;
  int64_t lastMotionMs_ = -1;
};

}  // namespace velmar
