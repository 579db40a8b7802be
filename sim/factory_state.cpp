#include "factory_state.h"

#include <string>
#include <string_view>

#include "fault_data.h"
#include "faults/firmware_temperatures.h"
#include "setup/pack_setup.h"
#include "setup/setup_file_reader.h"
#include "setup/setup_page_image.h"

namespace velmar {

namespace {

// Highest count either thermistor curve or the sensor reads.
constexpr int kTopCount = 2046;

// Every curve falls as the counts rise: the lowest count that reads `degC` or colder.
uint16_t CountsAt(int degC, int firmwareVersion, int (*toDegC)(int16_t, int)) {
  int counts = 1;
  while (counts < kTopCount && toDegC(static_cast<int16_t>(counts), firmwareVersion) > degC) {
    ++counts;
  }
  return static_cast<uint16_t>(counts);
}

}  // namespace

void StoreFactorySetup(SimMemory& memory, int firmwareVersion) {
  SetupParameters record;
  std::string_view text = kFactorySetupFileText;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    ApplySetupFileLine(record, text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  SetField(record.SERIALNO, std::to_string(memory.SerialNumber()));
  SetField(record.MODELNO, memory.ModelNumber());
  SetField(record.PARTNO, memory.PartNumber());
  PackSetup(record, firmwareVersion);
  const std::span<uint8_t> image(record.pageImage, SetupImageSize(firmwareVersion));
  // The identification stays byte for byte as the unit holds it; packing reads it as text.
  for (size_t word = kSerialNumberWord; word < kPartNumberWord + kPartNumberChars / 2; ++word) {
    SetImageWord(image, word * 2, memory.Word(word));
  }
  SetImageWord(image, image.size() - 2, SetupChecksum(image));
  for (size_t offset = 0; offset < image.size(); offset += 2) {
    memory.SetWord(offset / 2, ImageWord(image, offset));
  }
  EraseFaultFile(memory);
}

uint16_t MotorCountsAt(int degC, int firmwareVersion) {
  return CountsAt(degC, firmwareVersion, MotorDegC);
}

uint16_t ElectronicsCountsAt(int degC, int firmwareVersion) {
  return CountsAt(degC, firmwareVersion, ElecDegC);
}

}  // namespace velmar
