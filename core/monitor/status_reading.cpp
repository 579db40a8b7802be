#include "monitor/status_reading.h"

#include "base/little_endian.h"

namespace velmar {

namespace {

// 32-bit fields of the status frame carry their high word first.
int32_t ReadHighWordFirst(const uint8_t* bytes) {
  return static_cast<int32_t>((static_cast<uint32_t>(ReadLe16(bytes)) << 16) | ReadLe16(bytes + 2));
}

int16_t ReadSigned(const uint8_t* bytes) {
  return static_cast<int16_t>(ReadLe16(bytes));
}

}  // namespace

StatusReading DecodeStatusFrame(const uint8_t* frame) {
  StatusReading values;
  values.motorTemp1Raw = ReadLe16(frame + 3);
  values.motorTemp2Raw = ReadLe16(frame + 5);
  values.motorTemp3Raw = ReadLe16(frame + 7);
  values.elecTempRaw = ReadLe16(frame + 9);
  values.motorCurrentRaw = ReadSigned(frame + 11);
  values.demandRaw = ReadHighWordFirst(frame + 13);
  values.demandInputRaw = ReadLe16(frame + 13);
  values.positionRaw = ReadHighWordFirst(frame + 17);
  values.mode = frame[21] & 3;
  values.plus14Raw = ReadSigned(frame + 23);
  values.minus14Raw = ReadSigned(frame + 25);
  values.plus120Raw = ReadSigned(frame + 27);
  values.faultBits = ReadLe16(frame + 29);
  return values;
}

bool IsStatusReply(const uint8_t* frame) {
  return frame[0] == 0x01 && frame[1] == kStatusReplyCode && frame[2] == kStatusFrameLength;
}

}  // namespace velmar
