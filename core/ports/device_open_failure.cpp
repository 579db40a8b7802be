#include "ports/device_open_failure.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace velmar {

namespace fs = std::filesystem;

std::string DeviceOpenFailureText(const std::string& path, int error,
                                  const std::vector<std::string>& holders) {
  std::string text = "Device: " + path + "\nReason: " + std::strerror(error);
  switch (error) {
    case EACCES:
    case EPERM:
      text += std::string("\n") + kDialoutFixText;
      break;
    case EBUSY:
      if (holders.empty()) {
        text += "\nAnother program holds it open; close that program and try again.";
      }
      for (const std::string& holder : holders) {
        text += "\nHeld open by process " + holder + "; close that program and try again.";
      }
      break;
    case ENOENT:
    case ENODEV:
    case ENXIO:
      text +=
          "\nCheck that the cable's adapter is connected and which device it is: ls /dev/ttyS* "
          "/dev/ttyUSB* /dev/ttyACM*\nVELMAR_COM1 to VELMAR_COM4 name the devices of COM 1 to 4.";
      break;
    case ENOTTY:
      text += "\nThis is not a serial device.";
      break;
    default:
      break;
  }
  return text;
}

std::vector<std::string> DeviceHolders(const std::string& path, const std::string& procRoot) {
  std::vector<std::string> holders;
  std::error_code error;
  const fs::path device = fs::canonical(path, error);
  if (error) {
    return holders;
  }
  const std::string self = std::to_string(getpid());
  for (fs::directory_iterator process(procRoot, error), end; !error && process != end;
       process.increment(error)) {
    const std::string pid = process->path().filename().string();
    if (pid == self || pid.find_first_not_of("0123456789") != std::string::npos) {
      continue;
    }
    // A process may end while it is looked at; whatever cannot be read is passed over.
    std::error_code fdError;
    for (fs::directory_iterator fd(process->path() / "fd", fdError); !fdError && fd != end;
         fd.increment(fdError)) {
      std::error_code linkError;
      if (fs::read_symlink(fd->path(), linkError) == device) {
        std::string name;
        std::getline(std::ifstream(process->path() / "comm"), name);
        holders.push_back(pid + " (" + name + ")");
        break;
      }
    }
  }
  return holders;
}

}  // namespace velmar
