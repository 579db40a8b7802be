// FindEntry and Extract over a damaged or hostile archive: the first byte picks the entry name
// and the password (the right one, a wrong one or none); the rest is the archive.
#include <fuzzer/FuzzedDataProvider.h>

#include <filesystem>
#include <string>

#include "configdb/config_database.h"
#include "fuzz_files.h"

using namespace velmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kNames[] = {"Configurations.cfg",
                                       "VersionAndPartNo.cfg",
                                       "1045210-001.cfg",
                                       "../escape.cfg",
                                       "a/b.cfg",
                                       ""};
  static const char* const kPasswords[] = {"7Q5HaPv", "wrong", ""};
  FuzzedDataProvider input(data, size);
  const std::string name = kNames[input.ConsumeIntegralInRange(0, 5)];
  const std::string password = kPasswords[input.ConsumeIntegralInRange(0, 2)];
  const std::vector<uint8_t> archive = input.ConsumeRemainingBytes<uint8_t>();
  const std::filesystem::path path =
      fuzz::WriteRunFile("config.db", archive.data(), archive.size());
  const std::filesystem::path out = fuzz::RunFolder() / "out";
  std::filesystem::create_directory(out);

  ConfigDatabase database;
  database.FindEntry(path, name);
  const ExtractResult result = database.Extract(path, name, password, out);
  // A failed extraction leaves nothing behind, and nothing ever lands outside the output folder.
  const bool empty = std::filesystem::is_empty(out);
  if ((result != ExtractResult::kDone && !empty) ||
      std::filesystem::exists(fuzz::RunFolder() / "escape.cfg")) {
    __builtin_trap();
  }
  std::filesystem::remove_all(out);
  return 0;
}
