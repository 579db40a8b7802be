#include "configdb/configuration_list.h"

#include <fstream>
#include <system_error>
#include <utility>

#include "base/temp_folder.h"
#include "configdb/archive_format.h"
#include "configdb/config_db_location.h"
#include "setup/setup_file.h"

namespace velmar {
namespace {

constexpr const char* kProgramErrorCaption = "Program Error";

constexpr std::size_t kVersionLineLength = 126;

std::string Label(const CatalogueRecord& record) {
  return record.customerPartNo + "    " + record.description;
}

// The configuration of an entry is found again from its label: first token, plus ".cfg".
std::string EntryNameOfLabel(std::string_view label) {
  const std::size_t start = label.find_first_not_of(" ,");
  if (start == std::string_view::npos) {
    return ".cfg";
  }
  label.remove_prefix(start);
  return std::string(label.substr(0, label.find_first_of(" ,"))) + ".cfg";
}

std::string VersionLine(std::istream& in) {
  std::string line;
  std::getline(in, line);
  line.resize(std::min(line.size(), kVersionLineLength));
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (static_cast<unsigned char>(line[i]) < 0x20) {
      line.resize(i);
      break;
    }
  }
  return line;
}

}  // namespace

ConfigurationList::ConfigurationList(Ui& ui, PartCatalogue& catalogue, SetupParameters& setup,
                                     std::filesystem::path databasePath)
    : ui_(ui), catalogue_(catalogue), setup_(setup), databasePath_(std::move(databasePath)) {}

int ConfigurationList::FillList(std::optional<int> version) {
  labels.clear();
  selected = -1;
  configFileName.clear();
  int result = catalogue_.First();
  while (result == 0) {
    if (!version || catalogue_.VersionInRange(*version)) {
      labels.push_back(Label(catalogue_.current));
    }
    result = catalogue_.Next();
  }
  return result == 2 ? 0 : 1;
}

void ConfigurationList::SelectFirst() {
  if (!labels.empty()) {
    selected = 0;
    configFileName = EntryNameOfLabel(labels.front());
  }
}

ExtractResult ConfigurationList::ExtractEntry(const std::string& entryName,
                                              const std::filesystem::path& folder) {
  const ExtractResult result =
      database_.Extract(databasePath_, entryName, std::string(kConfigurationPassword), folder);
  damagedEntry_ = result == ExtractResult::kDamaged ? database_.damagedEntry : std::string();
  return result;
}

bool ConfigurationList::WarnIfDamaged() {
  if (damagedEntry_.empty()) {
    return false;
  }
  ui_.ShowMessage(MessageKind::Warning, DamagedEntryText(damagedEntry_), kProgramErrorCaption);
  damagedEntry_.clear();
  return true;
}

int ConfigurationList::LoadCatalogue() {
  damagedEntry_.clear();
  TempFolder folder;
  if (!folder.Valid()) {
    return 5;
  }
  if (ExtractEntry(PartCatalogue::kFileName, folder.Path()) != ExtractResult::kDone) {
    return 1;
  }
  if (catalogue_.Load(folder.Path() / PartCatalogue::kFileName) != 0) {
    return 2;
  }
  return 0;
}

int ConfigurationList::InitConfigList() {
  if (const int result = LoadCatalogue(); result != 0) {
    return result;
  }
  if (FillList(std::nullopt) != 0) {
    return 3;
  }
  SelectFirst();
  if (LoadConfiguration(configFileName) != 0) {
    return 4;
  }
  UpdateOrvikPartNo();
  return 0;
}

int ConfigurationList::RebuildConfigList(int version) {
  if (FillList(version) != 0) {
    return 1;
  }
  if (labels.empty()) {
    return 2;
  }
  SelectFirst();
  switch (LoadConfiguration(configFileName)) {
    case 0:
      break;
    case 4:
      return 3;
    default:
      return 2;
  }
  UpdateOrvikPartNo();
  return 0;
}

void ConfigurationList::ChooseConfiguration(std::size_t index, std::string_view serialNumber) {
  if (index >= labels.size()) {
    return;
  }
  selected = static_cast<int>(index);
  configFileName = EntryNameOfLabel(labels[index]);
  if (LoadConfiguration(configFileName) != 0 && !WarnIfDamaged()) {
    ui_.ShowMessage(MessageKind::Warning, kNoConfigurationText, kProgramErrorCaption);
  }
  UpdateOrvikPartNo();
  SetField(setup_.SERIALNO, serialNumber);
}

int ConfigurationList::LoadConfiguration(const std::string& entryName) {
  damagedEntry_.clear();
  TempFolder folder;
  if (!folder.Valid()) {
    return 4;
  }
  if (database_.FindEntry(databasePath_, entryName) != FindResult::kFound) {
    return 1;
  }
  switch (ExtractEntry(entryName, folder.Path())) {
    case ExtractResult::kDone:
      break;
    case ExtractResult::kNoMemory:
      return 2;
    default:
      return 3;
  }
  // A setup file that cannot be read leaves the record as it was; that is no loaded
  // configuration either.
  const FileResult loaded = LoadSetupFileByName(setup_, (folder.Path() / entryName).string(), ui_);
  setup_.fileName = entryName;  // not the private copy, which is about to go
  return loaded == FileResult::kOk ? 0 : 3;
}

int ConfigurationList::ReadVersionFile(std::string& versionText, std::string& programPartNumber) {
  damagedEntry_.clear();
  TempFolder folder;
  if (!folder.Valid() || ExtractEntry(kVersionFileName, folder.Path()) != ExtractResult::kDone) {
    return 1;
  }
  std::ifstream in(folder.Path() / kVersionFileName);
  if (!in) {
    return 1;
  }
  versionText = VersionLine(in);
  programPartNumber = VersionLine(in);
  return 0;
}

void ConfigurationList::UpdateOrvikPartNo() {
  if (catalogue_.FindByMakerPartNumber(setup_.PARTNO) == 0) {
    SetField(setup_.OrvikPartNo, catalogue_.current.customerPartNo);
  } else {
    SetField(setup_.OrvikPartNo, kUnknownPartNo);
  }
}

bool ConfigurationList::StartUp(std::string& versionText, std::string& programPartNumber) {
  if (InitConfigList() != 0) {
    WarnIfDamaged();
    std::error_code error;
    ui_.ShowDetailedMessage(
        MessageKind::Warning, kConfigListErrorText, kProgramErrorCaption,
        ConfigDatabaseDetail(databasePath_,
                             StandardConfigDatabaseFolders(std::filesystem::current_path(error))));
    return false;
  }
  if (ReadVersionFile(versionText, programPartNumber) != 0) {
    WarnIfDamaged();
    ui_.ShowMessage(MessageKind::Warning, kVersionFileErrorText, kProgramErrorCaption);
    return false;
  }
  return true;
}

}  // namespace velmar
