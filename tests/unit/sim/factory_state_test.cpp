#include "factory_state.h"

#include <gtest/gtest.h>

#include "fault_data.h"
#include "faults/firmware_temperatures.h"
#include "setup/setup_page_image.h"
#include "setup/unpack_setup.h"

namespace velmar::test {
namespace {

// What an upload of the unit's setup would find: the image the tool reads back, checked and
// unpacked with the tool's own code.
TEST(FactoryState, SetupUploadsWithAValidChecksumAndTheUnitsIdentification) {
  struct Case {
    int firmware;
    const char* seatingForce;  // stored from 3.10 on; the default otherwise
  };
  const Case cases[] = {{0x101, "1000"}, {0x200, "1000"}, {0x206, "1000"}, {0x30A, "1000.00"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.firmware);
    SimMemory memory;
    memory.SetSerialNumber(4321);
    memory.SetModelNumber("LMX9000-1");
    memory.SetPartNumber("5000412-010");
    StoreFactorySetup(memory, c.firmware);
    SetupParameters record;
    const size_t size = SetupImageSize(c.firmware);
    for (size_t offset = 0; offset < size; offset += 2) {
      SetImageWord(record.pageImage, offset, memory.Word(offset / 2));
    }
    const std::span<const uint8_t> image(record.pageImage, size);
    EXPECT_EQ(ImageWord(image, size - 2), SetupChecksum(image));
    ASSERT_TRUE(UnpackSetup(record, c.firmware));
    EXPECT_STREQ(record.SERIALNO, "04321");
    EXPECT_STREQ(record.MODELNO, "LMX9000-1");
    EXPECT_STREQ(record.PARTNO, "5000412-010");
    EXPECT_STREQ(record.SPAN, "5.9000");
    EXPECT_STREQ(record.MAXFORCE, "1000.00");
    EXPECT_STREQ(record.SEATINGFORCE, c.seatingForce);
    // The fault file of a new unit is erased, not zero (a zero date fails the diagnostic test).
    EXPECT_EQ(memory.Word(kFaultFileWord), 0xFFFF);
    EXPECT_EQ(memory.Word(kFaultFileWord + kFaultFileWords - 1), 0xFFFF);
  }
}

TEST(FactoryState, CountsReadBackAsTheTemperatureOnEveryFirmwaresCurves) {
  // 1.50: both on the 11-bit thermistor curve; 2.00 and 2.05: electronics on the 10-bit
  // thermistor; 2.04, 2.06 and 3.10: electronics on the sensor.
  for (const int firmware : {0x150, 0x200, 0x204, 0x205, 0x206, 0x30A}) {
    for (const int degC : {0, 25, 80}) {
      SCOPED_TRACE(testing::Message() << std::hex << firmware << std::dec << " at " << degC);
      EXPECT_EQ(MotorDegC(static_cast<int16_t>(MotorCountsAt(degC, firmware)), firmware), degC);
      EXPECT_EQ(ElecDegC(static_cast<int16_t>(ElectronicsCountsAt(degC, firmware)), firmware),
                degC);
    }
  }
}

}  // namespace
}  // namespace velmar::test
