// The part catalogue and the version file as the start-up reads them from the database, then the
// lookups the configuration list makes with them. The input is split into the two files.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "configdb/archive_writer.h"
#include "configdb/configuration_list.h"
#include "fuzz_files.h"
#include "support/recording_ui.h"

using namespace velmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  ArchiveOptions options;
  options.compress = input.ConsumeBool();
  options.password = "7Q5HaPv";
  const int version = input.ConsumeIntegral<uint16_t>();
  const std::string maker = input.ConsumeRandomLengthString(20);
  std::vector<ArchiveSource> sources(2);
  sources[0].name = PartCatalogue::kFileName;
  const std::string catalogue = input.ConsumeRandomLengthString(4096);
  sources[0].data.assign(catalogue.begin(), catalogue.end());
  sources[1].name = ConfigurationList::kVersionFileName;
  sources[1].data = input.ConsumeRemainingBytes<uint8_t>();
  std::vector<uint8_t> archive;
  std::string error;
  if (!BuildArchive(sources, options, archive, error)) {
    return 0;
  }
  const auto path = fuzz::WriteRunFile("config.db", archive.data(), archive.size());

  test::RecordingUi ui;
  PartCatalogue parts;
  SetupParameters setup;
  ConfigurationList list(ui, parts, setup, path);
  std::string versionText;
  std::string programPartNumber;
  list.StartUp(versionText, programPartNumber);
  list.FillList(version);
  ParseFirmwareVersionText(catalogue);
  if (parts.FindByMakerPartNumber(maker) == 0) {
    parts.VersionInRange(version);
  }
  for (int step = parts.First(); step == 0; step = parts.Next()) {
    parts.VersionInRange(version);
  }
  SetField(setup.PARTNO, maker);
  list.UpdateOrvikPartNo();
  return 0;
}
