#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/ini_settings.h"
#include "configdb/configuration_list.h"
#include "configdb/part_catalogue.h"
#include "faults/fault_file_image.h"
#include "link/actuator_link.h"
#include "link/serial_port.h"
#include "ports/clock.h"
#include "ports/serial_driver.h"
#include "ports/ui.h"
#include "setup/setup_page_values.h"
#include "setup/setup_parameters.h"

namespace velmar {

// The program's long-lived state, created once at start-up and handed by reference to every
// command: the settings, the serial port and the actuator link, the setup record, the part
// catalogue with the configuration list, and what the main window keeps between commands.
class Session {
 public:
  // `configHome` stands in for the per-user configuration folder (empty: the real one).
  Session(SerialDriver& driver, Clock& clock, Ui& ui, const std::string& configHome = "");
  // Closes the port if it is still open.
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Asks for the firmware version, alternating the current-mode and the CRC form of the request
  // over 6 attempts. 0 with the link's firmware version updated, 1 when no reply came (the link
  // then falls back to sum mode, so the next verification asks in both forms).
  int VerifyCommunication();

  // Takes a good version reply's version: stores it and, when it differs from the version the
  // configuration list was last built for, rebuilds the list.
  void AcceptFirmwareVersion(int version);

  // Binds the configuration list to the database at `databasePath`.
  void OpenConfigDatabase(const std::filesystem::path& databasePath);

  Clock& clock;
  Ui& ui;
  IniSettings settings;
  SerialPort serialPort;
  ActuatorLink link;
  SetupParameters setup;
  // What the setup pages show; created view-only, as the program always runs them.
  SetupPageValues pages;
  PartCatalogue catalogue;
  // The fault file last uploaded in this run; what the fault file report and file show.
  FaultFileImage faultFile;
  // Exists once the configuration database has been located.
  std::unique_ptr<ConfigurationList> configList;

  // The firmware version the configuration list was last built for; -1 before the first reply.
  int lastPollVersion = -1;
  // Serial number of the last uploaded actuator; "00000" forbids a download.
  std::string serialNumber = "00000";
  // The service engineer's switch (--service): without it fault configuration stays view-only
  // and the service commands answer "Feature not available.".
  bool serviceMode = false;
  // A download reads its pages back and compares them with what was written (--no-verify).
  bool verifyDownloads = true;
};

}  // namespace velmar
