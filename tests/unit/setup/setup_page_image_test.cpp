#include "setup/setup_page_image.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "setup/pack_setup.h"
#include "setup/setup_parameters.h"
#include "setup/unpack_setup.h"

namespace velmar {
namespace {

std::span<const uint8_t> Image(const SetupParameters& record, int firmwareVersion) {
  return std::span<const uint8_t>(record.pageImage, SetupImageSize(firmwareVersion));
}

TEST(SetupPageImageTest, SizesAndPages) {
  struct Case {
    int version;
    std::size_t bytes;
    int pages;
    std::size_t lastPageBytes;
  };
  const Case cases[] = {
      {0x100, 200, 17, 8},  {0x101, 204, 17, 12}, {0x300, 204, 17, 12},
      {0x301, 216, 18, 12}, {0x30A, 216, 18, 12},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SetupImageSize(c.version), c.bytes) << c.version;
    EXPECT_EQ(SetupPageCount(c.version), c.pages) << c.version;
    EXPECT_EQ(SetupPageSize(c.version, c.pages - 1), c.lastPageBytes) << c.version;
    EXPECT_EQ(SetupPageSize(c.version, c.pages), 0u) << c.version;
    EXPECT_EQ(SetupPageSize(c.version, -1), 0u) << c.version;
  }
  EXPECT_EQ(PageWordOffset(0), 0);
  EXPECT_EQ(PageWordOffset(17), 102);
}

struct Expected {
  std::size_t offset;
  uint32_t value;
  bool isLong = false;
};

void ExpectWords(const SetupParameters& record, int version,
                 std::initializer_list<Expected> words) {
  const auto image = Image(record, version);
  for (const Expected& e : words) {
    const uint32_t actual = e.isLong ? ImageLong(image, e.offset) : ImageWord(image, e.offset);
    EXPECT_EQ(actual, e.value) << "firmware " << std::hex << version << std::dec << " offset "
                               << e.offset;
  }
  EXPECT_EQ(ImageWord(image, image.size() - 2), SetupChecksum(image)) << std::hex << version;
}

// Offsets 40 to 43 and the fine layout from 44 on, shared by 1.01 to 3.00 and later images.
void ExpectDefaultFineLayout(const SetupParameters& record, int version) {
  ExpectWords(record, version,
              {{40, 1},
               {42, 2},
               {44, 1933312, true},
               {48, 32768, true},
               {52, 0, true},
               {56, 120848, true},
               {116, 1933312, true},
               {120, 1180},
               {150, 1180},
               {152, 1},
               {154, 0},
               {160, 20},
               {162, 24901},
               {164, 17785},
               {166, 0},
               {168, 2000},
               {170, 400},
               {172, 0},
               {174, 686},
               {176, 548},
               {178, 0},
               {180, 40},
               {182, 10000},
               {184, 0},
               {186, 6000},
               {188, 807},
               {190, 1000},
               {192, 500},
               {194, 404},
               {196, 500},
               {198, 202},
               {200, 250}});
}

TEST(SetupPageImageTest, DefaultRecordPacksForEveryLayout) {
  for (int version : {0x101, 0x300, 0x301, 0x30A}) {
    SetupParameters record;
    PackSetup(record, version);
    ExpectDefaultFineLayout(record, version);
  }
  SetupParameters record;
  PackSetup(record, 0x30A);
  ExpectWords(record, 0x30A,
              {{202, 807}, {204, 1000}, {206, 2000}, {208, 2000}, {210, 0x55}, {212, 0xAA}});

  SetupParameters old;
  PackSetup(old, 0x100);
  ExpectWords(
      old, 0x100,
      {{40, 1},     {42, 2},     {44, 30208}, {46, 512},    {48, 0},      {50, 1888},  {80, 30208},
       {82, 1180},  {112, 1180}, {114, 1},    {122, 30208}, {124, 24000}, {126, 13},   {156, 20},
       {158, 8192}, {160, 400},  {162, 0},    {164, 2000},  {166, 400},   {168, 0},    {170, 0},
       {172, 0},    {174, 0},    {176, 40},   {178, 10000}, {180, 0},     {182, 6000}, {184, 807},
       {186, 1000}, {188, 500},  {190, 404},  {192, 500},   {194, 202},   {196, 250}});
}

TEST(SetupPageImageTest, FirmwareOneDefaultLoopSetPacks) {
  SetupParameters record;
  SetField(record.POSLOOPTUNECONST, "15");
  SetField(record.CURLOOPPCONST, "0.01");
  SetField(record.CURLOOPICONST, "200");
  SetField(record.VELLOOPPCONST, "5");
  SetField(record.VELLOOPICONST, "500");
  PackSetup(record, 0x100);
  ExpectWords(
      record, 0x100,
      {{156, 15}, {158, 40}, {160, 200}, {164, 10}, {166, 200}, {170, 75}, {172, 61}, {174, 0}});
}

TEST(SetupPageImageTest, IdentificationBytes) {
  SetupParameters record;
  SetField(record.SERIALNO, "123456");
  SetField(record.MODELNO, "AB C");
  record.MODELNO[13] = 'Z';  // behind the 12 packed bytes
  record.pageImage[3] = 0x5A;
  PackSetup(record, 0x101);
  const auto image = Image(record, 0x101);

  int month, day, year, hour, minute, second;
  ASSERT_EQ(std::sscanf(record.DATETIME, "%d/%d/%d-%d:%d:%d", &month, &day, &year, &hour, &minute,
                        &second),
            6);
  EXPECT_EQ(ImageWord(image, 0), year);
  EXPECT_EQ(image[2], month);
  EXPECT_EQ(image[3], 0x5A);
  EXPECT_EQ(image[4], hour);
  EXPECT_EQ(image[5], day);
  EXPECT_EQ(image[6], second);
  EXPECT_EQ(image[7], minute);
  EXPECT_EQ(ImageLong(image, 8), 123456u);
  const uint8_t model[12] = {'A', 'B', 0, 'C'};
  EXPECT_EQ(std::memcmp(image.data() + 12, model, 12), 0);
  const uint8_t part[16] = {'5', '0', '0', '0', '0', '0', '0', '-', '0', '0', '0'};
  EXPECT_EQ(std::memcmp(image.data() + 24, part, 16), 0);

  EXPECT_TRUE(UnpackSetup(record, 0x101));
  EXPECT_STREQ(record.MODELNO, "AB");
  EXPECT_STREQ(record.SERIALNO, "123456");
}

TEST(SetupPageImageTest, UnpackTexts) {
  SetupParameters record;
  std::span<uint8_t> image(record.pageImage);
  SetImageWord(image, 0, 2026);
  image[2] = 3;
  image[3] = 14;
  image[4] = 15;
  image[5] = 99;  // not read
  image[6] = 9;
  image[7] = 26;
  SetImageLong(image, 8, 42);
  std::memcpy(image.data() + 24, "1234567-890ABCDE", 16);
  SetImageWord(image, 40, 17);
  SetImageLong(image, 44, 1933312);
  SetImageLong(image, 56, 120848);
  SetImageWord(image, 168, 2000);
  SetImageWord(image, 170, 400);
  SetImageWord(image, 172, 1);
  SetImageWord(image, 186, 6000);
  SetImageWord(image, 188, 807);
  SetImageWord(image, 192, 65535);
  SetImageWord(image, 198, 0);
  SetImageWord(image, 202, 404);
  SetImageWord(image, 204, 1000);
  SetImageWord(image, 206, 1995);
  SetImageWord(image, 208, 1994);

  ASSERT_TRUE(UnpackSetup(record, 0x30A));
  const std::pair<const char*, const char*> expected[] = {
      {record.DATETIME, "03/14/2026-15:09:26"},
      {record.SERIALNO, "00042"},
      // A 16-character part number keeps its first 15 characters in the field.
      {record.PARTNO, "1234567-890ABCD"},
      {record.ACTTYPE, "17"},
      {record.SPAN, "5.9000"},
      {record.STROKETBL[1], "0.3688"},
      {record.CURLOOPPCONST, "2.00"},
      {record.CURLOOPICONST, "400.00"},
      {record.CURLOOPDCONST, "1.00"},
      {record.MAXVEL, "6.00"},
      {record.MAXFORCE, "1000.00"},
      {record.MAXHOMEVEL, "65.54"},
      {record.HOLDCURFORCE, "0.00"},
      {record.SEATINGFORCE, "500.00"},
      {record.SEATFORCETIME, "1000"},
      {record.RUNLOSSVEL, "2.00"},
      {record.DMDLOSSVEL, "1.99"},
  };
  for (const auto& [actual, text] : expected)
    EXPECT_STREQ(actual, text);
}

TEST(SetupPageImageTest, UnpackRoundingAndDateEdges) {
  const std::pair<std::string, std::string> twoDecimals[] = {{TwoDecimalText(1.234), "1.23"},
                                                             {TwoDecimalText(1.236), "1.24"},
                                                             {TwoDecimalText(0.0), "0.00"},
                                                             {TwoDecimalText(65.535), "65.54"}};
  for (const auto& [actual, text] : twoDecimals)
    EXPECT_EQ(actual, text);
  EXPECT_EQ(WholePoundText(807), "1000.00");
  EXPECT_EQ(WholePoundText(65535), "81178.00");

  SetupParameters record;
  SetField(record.DATETIME, "x");
  std::span<uint8_t> image(record.pageImage);
  SetImageWord(image, 0, 7);
  image[2] = 255;
  ASSERT_TRUE(UnpackSetup(record, 0x101));
  // A short year ends the text; a byte above 99 keeps its first two digits.
  EXPECT_STREQ(record.DATETIME, "25/00/7");
  EXPECT_EQ(record.DATETIME[10], '-');
  EXPECT_STREQ(record.DATETIME + 11, "00:00:00");
}

TEST(SetupPageImageTest, UnpackFollowsTheFirmware) {
  SetupParameters record;
  SetImageWord(std::span<uint8_t>(record.pageImage), 202, 404);
  EXPECT_FALSE(UnpackSetup(record, 0x100));
  EXPECT_STREQ(record.SERIALNO, "00000");
  EXPECT_STREQ(record.SPAN, "5.9");

  ASSERT_TRUE(UnpackSetup(record, 0x309));
  EXPECT_STREQ(record.SPAN, "0.0000");
  EXPECT_STREQ(record.SEATINGFORCE, "1000");
  ASSERT_TRUE(UnpackSetup(record, 0x30A));
  EXPECT_STREQ(record.SEATINGFORCE, "500.00");
}

TEST(SetupPageImageTest, RoundTripKeepsValues) {
  for (int version : {0x101, 0x30A}) {
    SetupParameters record;
    SetField(record.SERIALNO, "31415");
    SetField(record.SPAN, "12.25");
    SetField(record.STROKETBL[16], "12.25");
    // Only 3.10 images carry the seating fields.
    if (version == 0x30A)
      SetField(record.SEATFORCETIME, "750");
    PackSetup(record, version);
    const std::size_t size = SetupImageSize(version);
    SetupParameters copy;
    std::memcpy(copy.pageImage, record.pageImage, sizeof(record.pageImage));
    ASSERT_TRUE(UnpackSetup(copy, version));

    for (const SetupFieldInfo& info : kSetupFileFields) {
      if (std::strcmp(info.key, "DATETIME") == 0)
        continue;
      const double original = ParseLeadingDouble(FieldText(record, info).data());
      const double unpacked = ParseLeadingDouble(FieldText(copy, info).data());
      EXPECT_NEAR(unpacked, original, 1e-4) << std::hex << version << " " << info.key;
    }
    PackSetup(copy, version);
    // Everything behind the time stamp packs to the same bytes again.
    EXPECT_EQ(std::memcmp(copy.pageImage + 8, record.pageImage + 8, size - 10), 0)
        << std::hex << version;
  }
}

TEST(SetupPageImageTest, GarbageTextPacksSafely) {
  const char* texts[] = {"1e999",       "-1e999", "nan",   "inf",    "abc",
                         "99999999999", "-70000", " 0x1F", "1234567"};
  for (int version : {0x100, 0x101, 0x30A}) {
    for (const char* text : texts) {
      SetupParameters record;
      for (const SetupFieldInfo& info : kSetupFileFields) {
        if (std::strcmp(info.key, "DATETIME") != 0)
          SetField(FieldText(record, info), text);
      }
      // An unterminated field must not be read past its end.
      std::memset(record.MAXVEL, '9', sizeof(record.MAXVEL));
      PackSetup(record, version);
      const auto image = Image(record, version);
      EXPECT_EQ(ImageWord(image, image.size() - 2), SetupChecksum(image)) << text;
      if (version != 0x100) {
        EXPECT_TRUE(UnpackSetup(record, version));
      }
    }
  }
}

}  // namespace
}  // namespace velmar
