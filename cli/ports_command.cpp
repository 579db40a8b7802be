#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli_command.h"
#include "cli_context.h"
#include "json_writer.h"

namespace velmar {

namespace {

namespace fs = std::filesystem;

constexpr const char* kDevFolder = "/dev";
constexpr int kComPorts = 4;

struct Device {
  std::string path;
  std::string target;  // where a link leads, else empty
  std::string error;   // why it cannot be opened, empty when it can
};

// Opens and closes the device at once, so nothing is left held; the system's reason when it
// cannot be opened.
std::string OpenError(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return std::strerror(errno);
  }
  ::close(fd);
  return "";
}

// "ttyUSB10" after "ttyUSB9": by prefix, then by number.
bool NaturalOrder(const std::string& a, const std::string& b) {
  const size_t digitsA = a.find_first_of("0123456789");
  const size_t digitsB = b.find_first_of("0123456789");
  const std::string prefixA = a.substr(0, digitsA), prefixB = b.substr(0, digitsB);
  if (prefixA != prefixB || digitsA == std::string::npos || digitsB == std::string::npos) {
    return a < b;
  }
  return std::atol(a.c_str() + digitsA) < std::atol(b.c_str() + digitsB);
}

// The serial devices in `folder`: ttyUSB* and ttyACM*, ttyS* that have a port behind them (the
// system answers "no such device" or an I/O error for the others), and serial/by-id/* with their
// targets.
std::vector<Device> ScanDevices(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    for (const char* prefix : {"ttyS", "ttyUSB", "ttyACM"}) {
      const size_t length = std::strlen(prefix);
      if (name.size() > length && name.compare(0, length, prefix) == 0 &&
          std::isdigit(static_cast<unsigned char>(name[length]))) {
        names.push_back(name);
      }
    }
  }
  std::sort(names.begin(), names.end(), NaturalOrder);
  std::vector<Device> devices;
  for (const std::string& name : names) {
    const std::string path = (folder / name).string();
    Device device{path, "", OpenError(path)};
    const bool absent = device.error == std::strerror(EIO) ||
                        device.error == std::strerror(ENXIO) ||
                        device.error == std::strerror(ENODEV);
    if (!(name.rfind("ttyS", 0) == 0 && absent)) {
      devices.push_back(device);
    }
  }
  std::vector<Device> links;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder / "serial/by-id", error)) {
    const std::string path = entry.path().string();
    links.push_back({path, fs::weakly_canonical(entry.path(), error).string(), OpenError(path)});
  }
  std::sort(links.begin(), links.end(),
            [](const Device& a, const Device& b) { return a.path < b.path; });
  devices.insert(devices.end(), links.begin(), links.end());
  return devices;
}

std::string Verdict(const Device& device) {
  return device.error.empty() ? "can be opened" : "cannot be opened: " + device.error;
}

int ListPorts(CliContext& context, CommandArgs& args) {
  std::string folder = kDevFolder;
  args.TakeOption("--dev", folder);
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  const std::vector<Device> devices = ScanDevices(folder);
  std::vector<Device> comPorts;
  for (int index = 0; index < kComPorts; ++index) {
    const std::string path = context.driver.DevicePath(index);
    comPorts.push_back({path, "", OpenError(path)});
  }
  if (context.options.json) {
    JsonWriter json;
    json.BeginObject().Key("devices").BeginArray();
    for (const Device& device : devices) {
      json.BeginObject().Field("path", device.path);
      if (!device.target.empty()) {
        json.Field("target", device.target);
      }
      json.Field("openable", device.error.empty()).Field("error", device.error).EndObject();
    }
    json.EndArray().Key("com_ports").BeginArray();
    for (int index = 0; index < kComPorts; ++index) {
      const Device& port = comPorts[index];
      json.BeginObject()
          .Field("port", static_cast<int64_t>(index + 1))
          .Field("path", port.path)
          .Field("openable", port.error.empty())
          .Field("error", port.error)
          .EndObject();
    }
    json.EndArray().EndObject().Print();
    return kExitOk;
  }
  for (const Device& device : devices) {
    std::printf("%s%s%s: %s\n", device.path.c_str(), device.target.empty() ? "" : " -> ",
                device.target.c_str(), Verdict(device).c_str());
  }
  for (int index = 0; index < kComPorts; ++index) {
    std::printf("COM %d = %s: %s\n", index + 1, comPorts[index].path.c_str(),
                Verdict(comPorts[index]).c_str());
  }
  return kExitOk;
}

}  // namespace

std::vector<CliCommand> PortsCommands() {
  return {
      {"ports", "ports [--dev DIR]",
       "Lists the serial devices (/dev/ttyS* with a port behind them, /dev/ttyUSB*, "
       "/dev/ttyACM*,\n/dev/serial/by-id/* and their targets), the devices COM 1 to COM 4 map to, "
       "and whether\neach can be opened by this user (if not, why); --dev scans DIR instead of "
       "/dev.",
       ListPorts, true},
  };
}

}  // namespace velmar
