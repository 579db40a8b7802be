#include "setup/setup_page_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "setup/pack_setup.h"
#include "setup/setup_parameters.h"
#include "setup/unpack_setup.h"
#include "unit/setup/record_fields.h"

namespace velmar {
namespace {

TEST(SetupRecordTest, LeadingNumberParsing) {
  const std::tuple<const char*, int32_t, double> cases[] = {
      {"  -7abc", -7, -7.0}, {"+5.9", 5, 5.9},   {".5", 0, 0.5},
      {"2.5E-1x", 2, 0.25},  {"7e", 7, 7.0},     {"abc", 0, 0.0},
      {"-", 0, 0.0},         {"inf", 0, 0.0},    {"nan", 0, 0.0},
      {"0x10", 0, 0.0},      {"\t12", 12, 12.0}, {"-99999999999", INT32_MIN, -99999999999.0}};
  for (const auto& [text, integer, decimal] : cases) {
    EXPECT_EQ(ParseLeadingInt(text), integer) << text;
    EXPECT_DOUBLE_EQ(ParseLeadingDouble(text), decimal) << text;
  }
  EXPECT_EQ(ParseLeadingInt("99999999999999999999"), INT32_MAX);  // saturates
}

TEST(SetupRecordTest, RecogniseDefaultLoopSet) {
  const std::string k100 = std::string(test::kLoops100) + "|";
  const std::pair<std::string, DefaultLoopSet> cases[] = {
      {"", DefaultLoopSet::Firmware101},
      {"CURLOOPICONST=400.05", DefaultLoopSet::Firmware101},
      {"CURLOOPICONST=400.1", DefaultLoopSet::None},
      {"CURLOOPDCONST=0.001", DefaultLoopSet::None},
      {"VELLOOPICONST=10000 counts", DefaultLoopSet::Firmware101},
      {"POSLOOPTUNECONST=65556", DefaultLoopSet::Firmware101},  // 16-bit compare
      {k100 + "CURLOOPPCONST=0.0105", DefaultLoopSet::Firmware100},
      {k100 + "CURLOOPPCONST=0.011", DefaultLoopSet::None}};
  for (const auto& [edit, expected] : cases) {
    EXPECT_EQ(RecogniseDefaultLoopSet(test::Record(edit)), expected) << edit;
  }
}

struct Expected {
  std::size_t offset;
  uint32_t value;
};

// Checks words (or 32-bit values) of the packed image, and that its last word is the checksum.
void ExpectImage(const SetupParameters& record, int version, const std::vector<Expected>& words,
                 const std::vector<Expected>& longs = {}) {
  const std::span<const uint8_t> image(record.pageImage, SetupImageSize(version));
  for (const Expected& e : words) {
    EXPECT_EQ(ImageWord(image, e.offset), e.value)
        << std::hex << version << std::dec << " @" << e.offset;
  }
  for (const Expected& e : longs) {
    EXPECT_EQ(ImageLong(image, e.offset), e.value)
        << std::hex << version << std::dec << " @" << e.offset;
  }
  EXPECT_EQ(ImageWord(image, image.size() - 2), SetupChecksum(image)) << std::hex << version;
}

TEST(SetupPageImageTest, DefaultRecordPacksForEveryLayout) {
  // 1.01 to 3.00 and 3.01 on share bytes 0 to 201.
  const std::vector<Expected> fine = {
      {40, 1},      {42, 2},      {120, 1180}, {150, 1180},  {152, 1},   {154, 0},    {160, 20},
      {162, 24901}, {164, 17785}, {166, 0},    {168, 2000},  {170, 400}, {172, 0},    {174, 686},
      {176, 548},   {178, 0},     {180, 40},   {182, 10000}, {184, 0},   {186, 6000}, {188, 807},
      {190, 1000},  {192, 500},   {194, 404},  {196, 500},   {198, 202}, {200, 250}};
  const std::vector<Expected> fineLongs = {
      {44, 1933312}, {48, 32768}, {52, 0}, {56, 120848}, {116, 1933312}};
  for (int version : {0x101, 0x300, 0x30A}) {
    SetupParameters record;
    PackSetup(record, version);
    ExpectImage(record, version, fine, fineLongs);
  }
  SetupParameters later;
  PackSetup(later, 0x30A);
  ExpectImage(later, 0x30A,
              {{202, 807}, {204, 1000}, {206, 2000}, {208, 2000}, {210, 0x55}, {212, 0xAA}});

  SetupParameters old;
  PackSetup(old, 0x100);
  ExpectImage(
      old, 0x100,
      {{40, 1},     {42, 2},     {44, 30208}, {46, 512},    {48, 0},      {50, 1888},  {80, 30208},
       {82, 1180},  {112, 1180}, {114, 1},    {122, 30208}, {124, 24000}, {126, 13},   {156, 20},
       {158, 8192}, {160, 400},  {162, 0},    {164, 2000},  {166, 400},   {168, 0},    {170, 0},
       {172, 0},    {174, 0},    {176, 40},   {178, 10000}, {180, 0},     {182, 6000}, {184, 807},
       {186, 1000}, {188, 500},  {190, 404},  {192, 500},   {194, 202},   {196, 250}});

  SetupParameters oldLoops = test::Record(test::kLoops100);
  PackSetup(oldLoops, 0x100);
  ExpectImage(oldLoops, 0x100,
              {{156, 15}, {158, 40}, {160, 200}, {164, 10}, {166, 200}, {170, 75}, {172, 61}});
}

TEST(SetupPageImageTest, IdentificationBytes) {
  SetupParameters record = test::Record("SERIALNO=123456|MODELNO=AB C");
  record.MODELNO[13] = 'Z';  // behind the 12 packed bytes
  record.pageImage[3] = 0x5A;
  PackSetup(record, 0x101);

  int month, day, year, hour, minute, second;
  ASSERT_EQ(std::sscanf(record.DATETIME, "%d/%d/%d-%d:%d:%d", &month, &day, &year, &hour, &minute,
                        &second),
            6);
  const uint8_t* image = record.pageImage;
  EXPECT_EQ(ImageWord(record.pageImage, 0), year);
  EXPECT_EQ((std::vector<int>(image + 2, image + 8)),
            (std::vector<int>{month, 0x5A, hour, day, second, minute}));
  EXPECT_EQ(ImageLong(record.pageImage, 8), 123456u);
  const uint8_t names[28] = {'A', 'B', 0,   'C', 0,   0,   0,   0,   0,   0,   0,  0,
                             '5', '0', '0', '0', '0', '0', '0', '-', '0', '0', '0'};
  EXPECT_EQ(std::memcmp(image + 12, names, sizeof(names)), 0);

  EXPECT_TRUE(UnpackSetup(record, 0x101));
  EXPECT_STREQ(record.MODELNO, "AB");
  // The checksum adds every word but the last, which holds it.
  const uint8_t sumOf[] = {0x01, 0x02, 0xFF, 0xFF, 0x03, 0x00, 0xAA, 0xBB};
  EXPECT_EQ(SetupChecksum(sumOf), 0x0203);
}

TEST(SetupPageImageTest, UnpackTexts) {
  SetupParameters record;
  std::span<uint8_t> image(record.pageImage);
  SetImageWord(image, 0, 2026);
  const uint8_t date[] = {3, 14, 15, 99 /* not read */, 9, 26};
  std::memcpy(image.data() + 2, date, sizeof(date));
  SetImageLong(image, 8, 42);
  std::memcpy(image.data() + 24, "1234567-890ABCDE", 16);
  SetImageWord(image, 40, 17);
  SetImageLong(image, 44, 1933312);
  SetImageLong(image, 56, 120848);
  const Expected words[] = {{168, 2000},  {170, 400}, {172, 1},    {186, 6000}, {188, 807},
                            {192, 65535}, {202, 404}, {204, 1000}, {206, 1995}};
  for (const Expected& w : words) {
    SetImageWord(image, w.offset, static_cast<uint16_t>(w.value));
  }

  EXPECT_FALSE(UnpackSetup(record, 0x100));  // a 1.00 image is never uploaded
  EXPECT_STREQ(record.SPAN, "5.9");

  ASSERT_TRUE(UnpackSetup(record, 0x30A));
  // A 16-character part number keeps its first 15 characters in the field.
  test::ExpectFields(
      record,
      "DATETIME=03/14/2026-15:09:26|SERIALNO=00042|PARTNO=1234567-890ABCD|ACTTYPE=17|"
      "SPAN=5.9000|STROKETBL01=0.3688|CURLOOPPCONST=2.00|CURLOOPICONST=400.00|"
      "CURLOOPDCONST=1.00|MAXVEL=6.00|MAXFORCE=1000.00|MAXHOMEVEL=65.54|"
      "HOLDCURFORCE=0.00|SEATINGFORCE=500.00|SEATFORCETIME=1000|RUNLOSSVEL=2.00");
  EXPECT_EQ(WholePoundText(65535), "81178.00");

  // Before 3.10 the seating fields are not read. A short year ends the text; a byte above 99
  // keeps its first two digits.
  SetImageWord(image, 0, 7);
  image[2] = 255;
  ASSERT_TRUE(UnpackSetup(record, 0x309));
  EXPECT_STREQ(record.SEATINGFORCE, "500.00");
  EXPECT_STREQ(record.DATETIME, "25/14/7");
  EXPECT_STREQ(record.DATETIME + 11, "15:09:26");
}

TEST(SetupPageImageTest, RoundTripKeepsValues) {
  // Only 3.10 images carry the seating fields.
  for (const auto& [version, seating] :
       {std::pair{0x101, ""}, std::pair{0x30A, "|SEATFORCETIME=750"}}) {
    SetupParameters record =
        test::Record(std::string("SERIALNO=31415|SPAN=12.25|STROKETBL16=12.25") + seating);
    PackSetup(record, version);
    SetupParameters copy;
    std::memcpy(copy.pageImage, record.pageImage, sizeof(record.pageImage));
    ASSERT_TRUE(UnpackSetup(copy, version));
    PackSetup(copy, version);
    // Everything behind the time stamp packs to the same bytes again, so every field unpacked to
    // the value it was packed from.
    EXPECT_EQ(std::memcmp(copy.pageImage + 8, record.pageImage + 8, SetupImageSize(version) - 10),
              0)
        << std::hex << version;
  }
}

TEST(SetupPageImageTest, GarbageTextPacksSafely) {
  const char* texts[] = {"1e999", "-1e999", "nan", "abc", "99999999999", "-70000", "1234567"};
  for (int version : {0x100, 0x101, 0x30A}) {
    for (const char* text : texts) {
      SetupParameters record;
      for (const SetupFieldInfo& info : kSetupFileFields) {
        SetField(FieldText(record, info), text);
      }
      // An unterminated field must not be read past its end.
      std::memset(record.MAXVEL, '9', sizeof(record.MAXVEL));
      PackSetup(record, version);
      ExpectImage(record, version, {});
      if (version != 0x100) {
        EXPECT_TRUE(UnpackSetup(record, version));
      }
    }
  }
}

}  // namespace
}  // namespace velmar
