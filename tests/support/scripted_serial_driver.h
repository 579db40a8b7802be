#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "ports/clock.h"
#include "ports/serial_driver.h"

namespace velmar::test {

using Bytes = std::vector<uint8_t>;

// A whole frame with LEN and check filled in: SOH, code, LEN, data, check.
Bytes SumFrame(uint8_t code, const Bytes& data = {});
Bytes CrcFrame(uint8_t code, const Bytes& data = {});

// Part of a reply: bytes that become visible `delayMs` after the write that triggers it.
struct ReplyChunk {
  int delayMs;
  Bytes bytes;
};

// A serial driver on a (virtual) clock. Records every write and delivers scripted replies at
// chosen times after the write that triggers them. Each write takes the next queued reply; when
// the queue is empty the reply handler answers, and without one the write goes unanswered.
// Dropping received bytes drops only those already arrived, as a real driver does; bytes still
// on their way arrive later.
class ScriptedSerialDriver : public SerialDriver {
 public:
  using ReplyHandler = std::function<Bytes(const Bytes& request)>;

  explicit ScriptedSerialDriver(Clock& clock) : clock_(clock) {}

  // Replies to the next unanswered-so-far write, visible all at once after `delayMs`.
  void ReplyNextWrite(const Bytes& bytes, int delayMs = 0);
  // Replies to the next write in pieces, each visible at its own delay.
  void ReplyNextWriteInChunks(const std::vector<ReplyChunk>& chunks);
  // The next `writes` writes get no reply.
  void SilenceNextWrites(int writes = 1);
  // Answers writes once the queue is used up; an empty result is silence.
  void SetReplyHandler(ReplyHandler handler, int delayMs = 0);
  // Bytes that arrive `delayMs` from now, written or not.
  void Arrive(const Bytes& bytes, int delayMs = 0);

  // Bytes arrived and not yet read or dropped.
  int VisibleCount() const;

  int Open(int index, int receiveQueueSize, int transmitQueueSize) override;
  int SetBaud(int index, int baud) override;
  int SetOutputA(int index, char setOrClear) override;
  int SetOutputB(int index, char setOrClear) override;
  int Close(int index) override;
  int DropReceived(int index) override;
  int DropUnsent(int index) override;
  int Write(int index, const uint8_t* data, int length) override;
  int ReceiveCount(int index) override;
  int Read(int index, uint8_t* buffer, int limit) override;
  std::string LastError() const override { return lastError; }

  // Results the driver gives; 0 is success.
  int openResult = 0;
  int baudResult = 0;
  int writeResult = 0;  // when not 0, Write returns it instead of the length
  std::string lastError;

  // Every Write's bytes.
  std::vector<Bytes> writes;
  // Every call but ReceiveCount, e.g. "Open 0 2048 512", "SetBaud 0 19200", "SetOutputA 0 S",
  // "DropReceived 0", "Write 0 5", "Read 0 80", "Close 0".
  std::vector<std::string> calls;

 private:
  void Schedule(const Bytes& bytes, int delayMs);
  void Record(const std::string& call, int index, const std::string& rest = "");

  Clock& clock_;
  std::deque<std::vector<ReplyChunk>> script_;
  ReplyHandler handler_;
  int handlerDelayMs_ = 0;
  // Arrival time -> byte; equal times keep their order.
  std::multimap<int64_t, uint8_t> pending_;
};

}  // namespace velmar::test
