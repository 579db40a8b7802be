#include "velmar_app.h"

#include <filesystem>
#include <system_error>

#include "configdb/config_db_location.h"
#include "main_dialog.h"

namespace velmar {

VelmarApp::VelmarApp(bool serviceMode, FrameTrace* trace) : session_(driver_, clock_, ui_) {
  session_.serviceMode = serviceMode;
  session_.link.SetTrace(trace);
}

int VelmarApp::Run() {
  std::error_code error;
  const std::filesystem::path database =
      LocateConfigDatabase({}, StandardConfigDatabaseFolders(std::filesystem::current_path(error)));
  MainDialog dialog(session_, ui_, database);
  dialog.exec();
  return 0;
}

}  // namespace velmar
