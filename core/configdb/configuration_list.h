#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "configdb/config_database.h"
#include "configdb/part_catalogue.h"
#include "ports/ui.h"
#include "setup/setup_parameters.h"

namespace velmar {

// The main window's configuration list: the labels its combo box shows, the selected entry and
// the setup file of the chosen configuration, kept in step with the part catalogue and the setup
// record. Entries are extracted from the database into a private temporary folder and deleted
// after use.
class ConfigurationList {
 public:
  static constexpr const char* kVersionFileName = "VersionAndPartNo.cfg";
  static constexpr const char* kUnknownPartNo = "0000000-000";
  static constexpr const char* kConfigListErrorText =
      "Error initializing configuration options menu, check configuration database.";
  static constexpr const char* kVersionFileErrorText =
      "Error reading version number and part number configuration file.";
  static constexpr const char* kNoConfigurationText =
      "Configuration parameters do not exist for this part number";

  ConfigurationList(Ui& ui, PartCatalogue& catalogue, SetupParameters& setup,
                    std::filesystem::path databasePath);

  // Start-up: loads the catalogue, lists every configuration and loads the first. 0; 5 no
  // private folder for the extraction; 1 catalogue not extracted; 2 catalogue not read; 3
  // iteration error; 4 first configuration not loaded.
  int InitConfigList();

  // The first steps of InitConfigList: extracts and reads the catalogue. 0; 5 no private
  // folder for the extraction; 1 catalogue not extracted; 2 catalogue not read.
  int LoadCatalogue();

  // Refills the labels from the catalogue in file order, with `version` only those that admit
  // it; nothing selected. 0, or 1 on an iteration error.
  int FillList(std::optional<int> version);

  // Lists the configurations that admit firmware `version` and loads the first. 0; 1 iteration
  // error; 2 no configuration loaded (also when none admits the version: the list is then empty
  // and the setup record untouched); 3 no private folder for the extraction.
  int RebuildConfigList(int version);

  // The user picked entry `index`: loads its configuration (a warning when that fails), sets
  // OrvikPartNo and puts the last uploaded actuator's `serialNumber` back into SERIALNO.
  void ChooseConfiguration(std::size_t index, std::string_view serialNumber);

  // Loads setup file `entryName` of the database into the setup record. 0; 4 no private folder
  // for the extraction; 1 not in the database; 2 entry too large; 3 extraction or load failed.
  int LoadConfiguration(const std::string& entryName);

  // Reads the two lines of the version file. 0, or 1 with both texts unchanged.
  int ReadVersionFile(std::string& versionText, std::string& programPartNumber);

  // OrvikPartNo = customer part number of the first record whose maker part number is PARTNO,
  // else "0000000-000".
  void UpdateOrvikPartNo();

  // The configuration and version steps of the main window's start-up. False, after the
  // warning, when the program has to shut down.
  bool StartUp(std::string& versionText, std::string& programPartNumber);

  // After a failed operation: the warning "Configuration database entry %s is damaged." when it
  // failed on an entry its manifest does not vouch for. True when shown; the caller's own
  // message may then follow or be left out.
  bool WarnIfDamaged();

  std::vector<std::string> labels;
  int selected = -1;           // -1: the list is empty
  std::string configFileName;  // "%s.cfg" of the selected entry's part number

 private:
  void SelectFirst();
  // Extracts `entryName` into `folder`, noting a damaged entry for WarnIfDamaged.
  ExtractResult ExtractEntry(const std::string& entryName, const std::filesystem::path& folder);

  Ui& ui_;
  PartCatalogue& catalogue_;
  SetupParameters& setup_;
  std::filesystem::path databasePath_;
  ConfigDatabase database_;
  std::string damagedEntry_;  // of the last extraction; empty when it was not damaged
};

}  // namespace velmar
