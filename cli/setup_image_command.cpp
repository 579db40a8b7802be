#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli_command.h"
#include "cli_context.h"
#include "configdb/part_catalogue.h"
#include "link/firmware_versions.h"
#include "setup/pack_setup.h"
#include "setup/setup_file.h"
#include "setup/setup_page_image.h"
#include "setup/setup_parameters.h"

namespace velmar {

namespace {

// "M.m" as the catalogue reads it ("2.5" is 2.05, "3.10" is 0x30A), or a hexadecimal "0x30A".
// Only versions from 1.00 on have an image.
bool ParseFirmware(const std::string& text, int& version) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const std::string digits = text.substr(2);
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(digits.c_str(), &end, 16);
    if (!std::isxdigit(static_cast<unsigned char>(digits[0])) || *end != '\0' || errno != 0 ||
        value > 0xFFFF) {
      return false;
    }
    version = static_cast<int>(value);
  } else {
    const std::optional<int> parsed = ParseFirmwareVersionText(text);
    if (!parsed) {
      return false;
    }
    version = *parsed;
  }
  return version >= kFirmware100;
}

void PrintPages(const uint8_t* image, int firmwareVersion) {
  for (int page = 0; page < SetupPageCount(firmwareVersion); ++page) {
    std::printf("page %2d word %04X:", page, PageWordOffset(page));
    const uint8_t* bytes = image + page * kSetupPageBytes;
    for (std::size_t k = 0; k < SetupPageSize(firmwareVersion, page); ++k) {
      std::printf(" %02X", bytes[k]);
    }
    std::printf("\n");
  }
}

int SetupImage(CliContext& context, CommandArgs& args) {
  std::string firmwareText;
  std::string outPath;
  std::string path;
  const bool haveFirmware = args.TakeOption("--firmware", firmwareText);
  const bool haveOut = args.TakeOption("--out", outPath);
  if (int status = context.TakeLastArgument(args, "FILE", path); status != kExitOk) {
    return status;
  }
  int firmwareVersion = 0;
  if (!haveFirmware) {
    return context.UsageError("--firmware is missing");
  }
  if (!ParseFirmware(firmwareText, firmwareVersion)) {
    return context.UsageError("--firmware must be M.m (1.00 or later) or 0x hexadecimal, not '" +
                              firmwareText + "'");
  }
  SetupParameters record;
  if (int status = LoadSetupFileArgument(context, record, path); status != kExitOk) {
    return status;
  }
  PackSetup(record, firmwareVersion);
  if (!haveOut) {
    PrintPages(record.pageImage, firmwareVersion);
    return kExitOk;
  }
  return context.WriteOutputFile(outPath,
                                 std::string_view(reinterpret_cast<const char*>(record.pageImage),
                                                  SetupImageSize(firmwareVersion)));
}

}  // namespace

std::vector<CliCommand> SetupImageCommands() {
  return {
      {"setup image", "setup image --firmware M.m FILE [--out IMAGE]",
       "Packs a setup file into the page image of that firmware; prints its pages or writes it.",
       SetupImage},
  };
}

}  // namespace velmar
