#include "support/scripted_serial_driver.h"

#include <utility>

#include "base/frame_check.h"

namespace velmar::test {

Bytes SumFrame(uint8_t code, const Bytes& data) {
  Bytes frame = {0x01, code, static_cast<uint8_t>(data.size() + 4)};
  frame.insert(frame.end(), data.begin(), data.end());
  frame.push_back(Sum8(frame.data(), frame.size()));
  return frame;
}

Bytes CrcFrame(uint8_t code, const Bytes& data) {
  Bytes frame = {0x01, code, static_cast<uint8_t>(data.size() + 5)};
  frame.insert(frame.end(), data.begin(), data.end());
  const uint16_t crc = Crc16(frame.data(), frame.size());
  frame.push_back(static_cast<uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<uint8_t>(crc >> 8));
  return frame;
}

void ScriptedSerialDriver::ReplyNextWrite(const Bytes& bytes, int delayMs) {
  script_.push_back({{delayMs, bytes}});
}

void ScriptedSerialDriver::ReplyNextWriteInChunks(const std::vector<ReplyChunk>& chunks) {
  script_.push_back(chunks);
}

void ScriptedSerialDriver::SilenceNextWrites(int writes) {
  for (int i = 0; i < writes; ++i) {
    script_.push_back({});
  }
}

void ScriptedSerialDriver::SetReplyHandler(ReplyHandler handler, int delayMs) {
  handler_ = std::move(handler);
  handlerDelayMs_ = delayMs;
}

void ScriptedSerialDriver::Arrive(const Bytes& bytes, int delayMs) {
  Schedule(bytes, delayMs);
}

void ScriptedSerialDriver::Schedule(const Bytes& bytes, int delayMs) {
  const int64_t at = clock_.NowMs() + delayMs;
  for (uint8_t byte : bytes) {
    pending_.emplace(at, byte);
  }
}

int ScriptedSerialDriver::VisibleCount() const {
  return static_cast<int>(std::distance(pending_.begin(), pending_.upper_bound(clock_.NowMs())));
}

void ScriptedSerialDriver::Record(const std::string& call, int index, const std::string& rest) {
  calls.push_back(call + " " + std::to_string(index) + rest);
}

int ScriptedSerialDriver::Open(int index, int receiveQueueSize, int transmitQueueSize) {
  Record("Open", index,
         " " + std::to_string(receiveQueueSize) + " " + std::to_string(transmitQueueSize));
  return openResult;
}

int ScriptedSerialDriver::SetBaud(int index, int baud) {
  Record("SetBaud", index, " " + std::to_string(baud));
  return baudResult;
}

int ScriptedSerialDriver::SetOutputA(int index, char setOrClear) {
  Record("SetOutputA", index, std::string(" ") + setOrClear);
  return 0;
}

int ScriptedSerialDriver::SetOutputB(int index, char setOrClear) {
  Record("SetOutputB", index, std::string(" ") + setOrClear);
  return 0;
}

int ScriptedSerialDriver::Close(int index) {
  Record("Close", index);
  return 0;
}

int ScriptedSerialDriver::DropReceived(int index) {
  Record("DropReceived", index);
  pending_.erase(pending_.begin(), pending_.upper_bound(clock_.NowMs()));
  return 0;
}

int ScriptedSerialDriver::DropUnsent(int index) {
  Record("DropUnsent", index);
  return 0;
}

int ScriptedSerialDriver::Write(int index, const uint8_t* data, int length) {
  Record("Write", index, " " + std::to_string(length));
  const Bytes request(data, data + (length > 0 ? length : 0));
  writes.push_back(request);
  if (!script_.empty()) {
    for (const ReplyChunk& chunk : script_.front()) {
      Schedule(chunk.bytes, chunk.delayMs);
    }
    script_.pop_front();
  } else if (handler_) {
    Schedule(handler_(request), handlerDelayMs_);
  }
  return writeResult != 0 ? writeResult : length;
}

int ScriptedSerialDriver::ReceiveCount(int /*index*/) {
  return VisibleCount();
}

int ScriptedSerialDriver::Read(int index, uint8_t* buffer, int limit) {
  Record("Read", index, " " + std::to_string(limit));
  const auto visibleEnd = pending_.upper_bound(clock_.NowMs());
  int count = 0;
  auto it = pending_.begin();
  for (; it != visibleEnd && count < limit; ++it) {
    buffer[count++] = it->second;
  }
  pending_.erase(pending_.begin(), it);
  return count;
}

}  // namespace velmar::test
