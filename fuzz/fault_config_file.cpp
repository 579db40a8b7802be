// A fault configuration file a technician picked.
#include <cstdio>

#include "faults/fault_config_file_load.h"
#include "fuzz_files.h"

using namespace velmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::FILE* file = fuzz::MemoryFile(data, size);
  if (file == nullptr) {
    return 0;
  }
  LoadFaultConfigFile(file, [] {});
  std::fclose(file);
  return 0;
}
