#pragma once

#include <cstdint>

#include "link/serial_port.h"
#include "ports/clock.h"

namespace velmar {

// How a request with data is framed: in the link's current mode, or always in CRC form (the
// requests that only exist in CRC form).
enum class FrameForm { kCurrentMode, kCrc };

// The one object through which the program talks to the actuator. Every exchange is a request
// followed by one reply, polled against the clock. Result codes: 0 success; 1 negative
// acknowledge, mismatch or failure; 2 failure after all retries; 21 no reply or a reply too short;
// -1 failure of the memory-word and mode-status requests.
class ActuatorLink {
 public:
  static constexpr int kBufferSize = 128;
  static constexpr int kDefaultReceiveTimeoutMs = 200;
  static constexpr int kDefaultMinReplyLength = 4;
  static constexpr int kWordsPerPage = 6;
  static constexpr int kStatusFrameLength = 33;
  static constexpr int kNoReply = 21;

  ActuatorLink(SerialPort& serialPort, Clock& clock);

  // Port. OpenPort stores `linkPort` and `linkBaud` first; 0 on success, 2 on failure.
  int OpenPort(int port, int baud);
  // 1 if a port was open, 0 if none.
  int ClosePort();

  // Sends the request placed in `txBuffer` (SOH, code, LEN, `dataCount` data bytes from index 3)
  // with the check of the current mode appended. The caller sets LEN.
  void SendFrame(int dataCount);

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

  // Receive paths. ReceiveFrame honours and then resets the one-shot `receiveTimeoutMs` and
  // `minReplyLength`; it returns the byte count of the frame now in `rxBuffer`, or 0.
  int ReceiveFrame();
  // 0 acknowledge, 1 negative acknowledge, 21 anything else.
  int ReceiveAck();
  // 0 write done, 1 another frame, 21 short or none.
  int ReceiveWriteDone();
  // 0 a valid 6-word reply, 1 a wrong or damaged one, 21 short or none.
  int ReceiveWords();
  // 0 a valid version reply (and `crcMode` set from its form), 1 otherwise.
  int ReceiveFirmwareVersion();
  // 0 when LEN is 5..33 and the CRC matches, else 1.
  int CheckFrameCrc(const uint8_t* frame) const;
  // major * 256 + minor of the version reply in `rxBuffer`.
  int ReplyFirmwareVersion() const;

  // One attempt each. ReadWords asks for the 6 words from `wordAddress` and leaves them in
  // `replyWords` on success; it returns the ReceiveWords code. WriteWords sends `count` words
  // (at most 14) and waits for the acknowledge (500 ms) and the write-done reply (1000 ms);
  // 0 on success, else the failing receive's code. The caller may set `receiveTimeoutMs` before
  // ReadWords.
  int ReadWords(uint16_t wordAddress, FrameForm form = FrameForm::kCurrentMode);
  int WriteWords(uint16_t wordAddress, const uint16_t* words, int count,
                 FrameForm form = FrameForm::kCurrentMode);

  // Standard exchanges with their retries.
  int EnableWrites();                                                   // 3 attempts; 0 / 1
  int DisableWrites();                                                  // 3 attempts; 0 / 1
  int DisableWritesAfterDownload();                                     // 8 attempts; 0 / 21
  int WriteRecordWords(uint16_t byteAddress, const uint16_t words[3]);  // 0 / 2
  int EraseRecordWords(uint16_t byteAddress);                           // 0 / 2
  int ClearFaults();                                                    // 0 / 2
  int ReadIdentification();                                             // 0 / 2
  int RequestSpan();                                                    // 0 / 1
  int RequestMaxForce();                                                // 0 / 1
  int RequestRunHours16();                                              // 0 / 1
  int RequestRunHours32();                                              // 0 / 1
  int RequestPoweredHours();                                            // 0 / 1
  int ResetRunHours();                                                  // 0 / 21
  int ReadMemoryWord(uint16_t address);                                 // 0..65535 / -1
  int WriteMemoryWord(uint16_t address, uint16_t value);                // 0 / -1
  // Byte 21 of the status frame (0..255; bits 0-1 the operating mode), -1 when no valid frame
  // came. The whole frame stays in `statusFrame`.
  int RequestModeStatus();

  uint32_t poweredHours = 0;
  uint32_t runHours32 = 0;
  uint16_t runHours16 = 0;
  uint16_t maxForce = 0;
  uint32_t span = 0;
  char identPartNumber[17] = {};
  char identModelNumber[13] = {};
  char identSerialNumber[12] = {};
  int32_t firmwareVersion = 0;
  uint16_t crcAccumulator = 0;
  int32_t linkPort = 1;
  uint8_t rxBuffer[kBufferSize] = {};
  uint8_t txBuffer[kBufferSize] = {};
  uint16_t linkBaud = 19200;
  int32_t receiveTimeoutMs = kDefaultReceiveTimeoutMs;
  int32_t minReplyLength = kDefaultMinReplyLength;
  int32_t crcMode = 0;
  uint8_t sumAccumulator = 0;

  // The 6 words of the last good ReadWords reply.
  uint16_t replyWords[kWordsPerPage] = {};
  // The last status frame that RequestModeStatus accepted.
  uint8_t statusFrame[kStatusFrameLength] = {};

 private:
  struct Wait {
    int count;
    bool stable;
  };

  Wait WaitForStableCount(int threshold, int limitMs);
  int ReadReceived(int count);
  bool IsFrameStart(int index, int count) const;
  bool IsValidCrcReply(int count, uint8_t code) const;
  void SendFramed(int dataCount, bool crc);
  void SendConstant(const uint8_t* frame, int length);
  void SendModeConstant(const uint8_t* sumFrame, const uint8_t* crcFrame);
  bool RetryAcked(void (ActuatorLink::*send)(), int attempts, int timeoutMs, int failureSleepMs);
  int ReceiveOwnWaitReply(int sleepMs, int threshold, int limitMs, uint8_t code);
  int RetryOwnWaitReply(void (ActuatorLink::*send)(), int threshold, uint8_t code);

  SerialPort& serialPort_;
  Clock& clock_;
};

}  // namespace velmar
