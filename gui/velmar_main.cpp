// velmar: the desktop service tool.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app_icon.h"
#include "velmar_app.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmar [--service] [--trace FILE]\n"
    "The Velmar actuator service tool. COM port n is the device named by $VELMAR_COM<n>,\n"
    "else /dev/ttyS<n-1>.\n"
    "\n"
    "  --service   the service engineer's switch: enables Reset Run Hours, Memory Read/Write\n"
    "              (and its Mem Rd/Wr button) and the About menu's service keys; without it\n"
    "              they answer \"Feature not available.\"\n"
    "  --trace FILE  appends every frame sent and received to FILE, one line each\n"
    "              (default $VELMAR_TRACE)\n"
    "  --help      this text\n";

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // QApplication has taken its own options; what is left is ours.
  bool serviceMode = false;
  std::string traceOption;
  for (int index = 1; index < argc; ++index) {
    if (std::strcmp(argv[index], "--service") == 0) {
      serviceMode = true;
    } else if (std::strcmp(argv[index], "--trace") == 0 && index + 1 < argc) {
      traceOption = argv[++index];
    } else {
      std::fputs(kUsage, std::strcmp(argv[index], "--help") == 0 ? stdout : stderr);
      return std::strcmp(argv[index], "--help") == 0 ? 0 : 2;
    }
  }
  QApplication::setApplicationName("velmar");
  QApplication::setDesktopFileName("velmar");
  QApplication::setWindowIcon(velmar::AppIcon());
  std::unique_ptr<velmar::FrameTrace> trace;
  std::string error;
  if (!velmar::FrameTrace::OpenRequested(traceOption, trace, error)) {
    std::fprintf(stderr, "velmar: %s\n", error.c_str());
    return 1;
  }
  velmar::VelmarApp app(serviceMode, trace.get());
  return app.Run();
}
