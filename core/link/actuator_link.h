#pragma once

#include <cstdint>
#include <span>

#include "link/frame_trace.h"
#include "link/link_result.h"
#include "link/serial_port.h"
#include "ports/cancellation.h"
#include "ports/clock.h"

namespace velmar {

struct FrameFormat;

// How a request with data is framed: in the link's current mode, or always in CRC form (the
// requests that only exist in CRC form).
enum class FrameForm { kCurrentMode, kCrc };

// The one object through which the program talks to the actuator. Every exchange is a request
// followed by one reply, polled against the clock. The buffers stay inside: callers see the
// values the replies delivered through the accessors below.
class ActuatorLink {
 public:
  static constexpr int kBufferSize = 128;
  static constexpr int kDefaultReceiveTimeoutMs = 200;
  static constexpr int kDefaultMinReplyLength = 4;
  static constexpr int kWordsPerPage = 6;
  static constexpr int kStatusFrameLength = 33;

  ActuatorLink(SerialPort& serialPort, Clock& clock);

  // Port. OpenPort stores the port and baud first; kSuccess, or kRetriesFailed when the port
  // would not open.
  LinkResult OpenPort(int port, int baud);
  // 1 if a port was open, 0 if none.
  int ClosePort();
  int LinkPort() const { return linkPort_; }
  int LinkBaud() const { return linkBaud_; }

  // Logs every frame written and every read from now on; nullptr (the default) stops it.
  void SetTrace(FrameTrace* trace) { trace_ = trace; }

  // The frame mode: 0 sum mode, 1 CRC mode. ReceiveFirmwareVersion sets it from the reply's form;
  // SetCrcMode is for whoever learnt the mode otherwise (or has to forget it).
  int CrcMode() const { return crcMode_; }
  void SetCrcMode(bool crc) { crcMode_ = crc ? 1 : 0; }
  // LEN of a frame without data in the current mode: 4 in sum mode, 5 in CRC mode.
  int EmptyFrameLength() const;

  // major * 256 + minor of the last version the program accepted; 0 when none is known. The link
  // never sets it itself: the caller decides when a reply's version counts.
  int FirmwareVersion() const { return firmwareVersion_; }
  void SetFirmwareVersion(int version) { firmwareVersion_ = version; }

  // Once `cancellation` asks to stop, every wait for a reply ends at once with nothing received,
  // except while writes may be enabled: the writing command then finishes the exchange in flight,
  // stops at its next safe point (StopRequested) and its write-disable goes through in full.
  void SetCancellation(const Cancellation* cancellation) { cancellation_ = cancellation; }
  bool StopRequested() const { return cancellation_ != nullptr && cancellation_->Requested(); }
  // From a write-enable request until a write-disable is acknowledged.
  bool WritesMayBeEnabled() const { return writesMayBeEnabled_; }

  // Requests without data, sent as constant frames.
  void SendWriteEnable();
  void SendWriteDisable();
  void SendCommitSetup();
  void SendPrepareUpload();
  void SendFirmwareVersionRequest();
  void SendFirmwareVersionRequestCrc();
  void SendClearFaults();
  void SendSpanRequest();
  void SendStatusRequest();
  void SendMaxForceRequest();
  void SendRunHoursRequest();
  void SendResetRunHours();
  void SendPoweredHoursRequest();

  // Receive paths. ReceiveFrame waits up to `timeoutMs` for at least `minReplyLength` bytes and
  // returns the byte count of the frame it found (SOH first), or 0.
  int ReceiveFrame(int timeoutMs = kDefaultReceiveTimeoutMs,
                   int minReplyLength = kDefaultMinReplyLength);
  // kSuccess acknowledge, kFailed negative acknowledge, kNoReply anything else.
  LinkResult ReceiveAck(int timeoutMs = kDefaultReceiveTimeoutMs,
                        int minReplyLength = kDefaultMinReplyLength);
  // kSuccess write done, kFailed another frame, kNoReply short or none.
  LinkResult ReceiveWriteDone(int timeoutMs = kDefaultReceiveTimeoutMs);
  // kSuccess a valid 6-word reply, kFailed a wrong or damaged one, kNoReply short or none.
  LinkResult ReceiveWords(int timeoutMs = kDefaultReceiveTimeoutMs);
  // kSuccess a valid version reply (and the frame mode set from its form), kFailed otherwise.
  LinkResult ReceiveFirmwareVersion();
  // kSuccess when LEN is 5..33 and the CRC matches, else kFailed.
  LinkResult CheckFrameCrc(const uint8_t* frame) const;
  // major * 256 + minor of the version reply last received.
  int ReplyFirmwareVersion() const;

  // One attempt each. ReadWords asks for the 6 words from `wordAddress`, waits `timeoutMs` for
  // the reply and leaves the words in ReplyWords() on success; it returns the ReceiveWords result.
  // WriteWords sends `count` words (at most 14) and waits for the acknowledge (500 ms) and the
  // write-done reply (1000 ms); kSuccess, else the failing receive's result.
  LinkResult ReadWords(uint16_t wordAddress, FrameForm form = FrameForm::kCurrentMode,
                       int timeoutMs = kDefaultReceiveTimeoutMs);
  LinkResult WriteWords(uint16_t wordAddress, const uint16_t* words, int count,
                        FrameForm form = FrameForm::kCurrentMode);

  // Standard exchanges with their retries; the results each can give.
  LinkResult EnableWrites();                                                   // kFailed
  LinkResult DisableWrites();                                                  // kFailed
  LinkResult DisableWritesAfterDownload();                                     // kNoReply
  LinkResult WriteRecordWords(uint16_t byteAddress, const uint16_t words[3]);  // kRetriesFailed
  LinkResult EraseRecordWords(uint16_t byteAddress);                           // kRetriesFailed
  // Fault configuration records: three words at a byte address, taken from a 6-word read with
  // up to 3 tries 50 ms apart (kFailed); and the nine words at +0, +6 and +12 with a 50 ms pause
  // after each read, stopping at the first failure with its result.
  LinkResult ReadRecordWords(uint16_t byteAddress, uint16_t words[3]);
  LinkResult ReadRecordSlot(uint16_t byteAddress, uint16_t words[9]);
  LinkResult ClearFaults();          // kRetriesFailed
  LinkResult ReadIdentification();   // kRetriesFailed
  LinkResult RequestSpan();          // kFailed
  LinkResult RequestMaxForce();      // kFailed
  LinkResult RequestRunHours16();    // kFailed
  LinkResult RequestRunHours32();    // kFailed
  LinkResult RequestPoweredHours();  // kFailed
  LinkResult ResetRunHours();        // kNoReply
  // The word at `address` in `value`; kRequestFailed.
  LinkResult ReadMemoryWord(uint16_t address, uint16_t& value);
  LinkResult WriteMemoryWord(uint16_t address, uint16_t value);  // kRequestFailed
  // Byte 21 of the status frame in `statusFlags` (bits 0-1 the operating mode); kRequestFailed
  // when no valid frame came. The whole frame stays in StatusFrame().
  LinkResult RequestModeStatus(int& statusFlags);

  // Fault log and fault file exchanges. ReadLogWords reads the 6 words from `byteAddress` into
  // `words` (3 tries, 50 ms apart); kFailed. ClearLogRecord writes three zero words at
  // `slotAddress` in the current frame mode without a write-enable (3 tries); kRetriesFailed.
  // ReadFaultFileWords reads the 6 words from `wordAddress` into `words`, each try allowed
  // 500 ms (8 tries, 40 ms apart); kFailed.
  LinkResult ReadLogWords(uint16_t byteAddress, uint16_t words[kWordsPerPage]);
  LinkResult ClearLogRecord(uint16_t slotAddress);
  LinkResult ReadFaultFileWords(uint16_t wordAddress, uint16_t words[kWordsPerPage]);

  // The values of the last good replies; a failed request leaves them as they were.
  uint32_t PoweredHours() const { return poweredHours_; }
  uint32_t RunHours32() const { return runHours32_; }
  uint16_t RunHours16() const { return runHours16_; }
  uint16_t MaxForce() const { return maxForce_; }
  uint32_t Span() const { return span_; }
  const char* IdentPartNumber() const { return identPartNumber_; }
  const char* IdentModelNumber() const { return identModelNumber_; }
  const char* IdentSerialNumber() const { return identSerialNumber_; }
  // The 6 words of the last good ReadWords reply.
  std::span<const uint16_t, kWordsPerPage> ReplyWords() const { return replyWords_; }
  // The last status frame that RequestModeStatus accepted.
  std::span<const uint8_t, kStatusFrameLength> StatusFrame() const { return statusFrame_; }

 private:
  struct Wait {
    int count;
    bool stable;
  };

  const FrameFormat& Format() const;
  const FrameFormat& FormatFor(FrameForm form) const;
  Wait WaitForStableCount(int threshold, int limitMs);
  int ReadReceived(int count);
  bool IsFrameStart(int index, int count) const;
  bool IsValidCrcReply(int count, uint8_t code) const;
  // Sends SOH, `code`, LEN, `address` and `words` (all little-endian) with the check of `format`.
  void SendWords(uint8_t code, uint16_t address, std::span<const uint16_t> words,
                 const FrameFormat& format);
  void SendConstant(const uint8_t* frame, int length);
  void SendModeConstant(const uint8_t* const FrameFormat::*frame);
  bool RetryAcked(void (ActuatorLink::*send)(), int attempts, int timeoutMs, int failureSleepMs);
  bool ReceiveOwnWaitReply(int sleepMs, int threshold, int limitMs, uint8_t code);
  LinkResult ReadWordsRetried(uint16_t wordAddress, uint16_t words[kWordsPerPage], int tries,
                              int pauseMs, int timeoutMs);
  bool RetryOwnWaitReply(void (ActuatorLink::*send)(), int threshold, uint8_t code);

  LinkResult Disabled(bool acknowledged, LinkResult failure);

  SerialPort& serialPort_;
  Clock& clock_;
  FrameTrace* trace_ = nullptr;
  const Cancellation* cancellation_ = nullptr;
  bool writesMayBeEnabled_ = false;
  // Bytes the last ReceiveFrame found waiting, whether or not they made a frame.
  int lastReceivedCount_ = 0;

  uint32_t poweredHours_ = 0;
  uint32_t runHours32_ = 0;
  uint16_t runHours16_ = 0;
  uint16_t maxForce_ = 0;
  uint32_t span_ = 0;
  char identPartNumber_[17] = {};
  char identModelNumber_[13] = {};
  char identSerialNumber_[12] = {};
  int32_t firmwareVersion_ = 0;
  int32_t linkPort_ = 1;
  // The last reply, SOH at index 0; zeroed before every request goes out.
  uint8_t rxBuffer_[kBufferSize] = {};
  // The request being built; not cleared between requests.
  uint8_t txBuffer_[kBufferSize] = {};
  uint16_t linkBaud_ = 19200;
  int32_t crcMode_ = 0;
  uint16_t replyWords_[kWordsPerPage] = {};
  uint8_t statusFrame_[kStatusFrameLength] = {};
};

}  // namespace velmar
