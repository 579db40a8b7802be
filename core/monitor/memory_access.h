#pragma once

#include <cstdint>
#include <string>

#include "link/actuator_link.h"
#include "ports/ui.h"

namespace velmar {

// A number typed into the memory window: hexadecimal when the text holds "0x" anywhere (read
// from its start), else decimal, masked to 16 bits. False when the text starts with no number.
bool ParseMemoryNumber(const std::string& text, uint16_t& value);

// The "Actuator Memory Read/Write" window without widgets: reads and writes single words of the
// actuator's memory, reporting failures in warning boxes.
class MemoryAccess {
 public:
  static constexpr const char* kNoNumberText = "Enter a number in Address and in Data.";

  MemoryAccess(ActuatorLink& link, Ui& ui) : link_(link), ui_(ui) {}

  // The word at `addressText` as the Data field shows it ("0x%04X" with `hex`, else "%d").
  // False after the read-error box.
  bool Read(const std::string& addressText, bool hex, std::string& dataText);
  // False after the write-error box. A write whose address or data holds no number is refused
  // before anything is sent, so a blank field never writes 0 to word 0.
  bool Write(const std::string& addressText, const std::string& dataText);

 private:
  ActuatorLink& link_;
  Ui& ui_;
};

}  // namespace velmar
