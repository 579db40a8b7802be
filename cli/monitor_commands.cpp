#include <signal.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/command_dispatch.h"
#include "app/diagnostic_test.h"
#include "app/hour_meters.h"
#include "app/monitor_commands.h"
#include "cli_command.h"
#include "cli_context.h"
#include "json_writer.h"
#include "monitor/memory_access.h"
#include "monitor/status_monitor.h"
#include "monitor/status_recorder.h"
#include "monitor/status_watch.h"

namespace velmar {

namespace {

constexpr const char* kNoStatusReply = "No status reply from the actuator.";

std::atomic<bool> interrupted{false};

void OnInterrupt(int) {
  interrupted.store(true);
}

// Ctrl-C ends a watch between two ticks instead of killing the program, so its file is
// completed; the previous handler is back when the watch ends.
class InterruptGuard {
 public:
  InterruptGuard() {
    interrupted.store(false);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_);
  }
  ~InterruptGuard() { sigaction(SIGINT, &previous_, nullptr); }
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  struct sigaction previous_ {};
};

// A whole non-negative decimal number.
bool ParseCount(const std::string& text, long& value) {
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' && value >= 0;
}

void PrintReading(const StatusDisplay& display, bool json) {
  if (json) {
    JsonWriter writer;
    writer.BeginObject().Key("quantities").BeginArray();
    for (int index = 0; index < kStatusQuantities; ++index) {
      const StatusField& field = display.fields[index];
      writer.BeginObject()
          .Field("name", QuantityName(static_cast<StatusQuantity>(index)))
          .Field("value", field.text)
          .Field("bar_percent", static_cast<int64_t>(field.BarPosition()))
          .EndObject();
    }
    writer.EndArray()
        .Field("mode", display.ModeName())
        .Field("faults", display.FaultList())
        .EndObject()
        .Print();
    return;
  }
  for (int index = 0; index < kStatusQuantities; ++index) {
    const StatusField& field = display.fields[index];
    std::printf("%s = %s [%d]\n", QuantityName(static_cast<StatusQuantity>(index)),
                field.text.c_str(), field.BarPosition());
  }
  std::printf("Mode = %s\nFaults = %s\n", display.ModeName().c_str(), display.FaultList().c_str());
}

// The watch: a CSV row on stdout (and in the file) for every good reading.
int Watch(CliContext& context, StatusMonitor& monitor, StatusWatch& watch, long count,
          const std::string& csvPath) {
  StatusRecorder recorder;
  if (!csvPath.empty() && !recorder.Start(csvPath)) {
    std::fprintf(stderr, "velmar-cli status: cannot write %s\n", csvPath.c_str());
    return kExitFailure;
  }
  InterruptGuard guard;
  std::fputs(StatusRecorder::kHeader, stdout);
  int status = kExitOk;
  for (long readings = 0; count == 0 || readings < count; ++readings) {
    if (!watch.NextReading([] { return interrupted.load(); })) {
      if (!interrupted.load()) {
        context.ui.ShowMessage(MessageKind::Error, kNoStatusReply, "Actuator Status");
        status = kExitFailure;
      }
      break;
    }
    const std::string row =
        StatusRecorder::Row(watch.ReadingTimeMs(), monitor.display, monitor.values.faultBits);
    std::fputs(row.c_str(), stdout);
    std::fflush(stdout);
    if (recorder.Recording() &&
        !recorder.Add(watch.ReadingTimeMs(), monitor.display, monitor.values.faultBits)) {
      break;
    }
  }
  if (!csvPath.empty() && !recorder.Stop()) {
    std::fprintf(stderr, "velmar-cli status: cannot write %s\n", csvPath.c_str());
    return kExitFailure;
  }
  return status;
}

int Status(CliContext& context, CommandArgs& args) {
  const bool watching = args.TakeFlag("--watch");
  std::string countText = "0";
  std::string intervalText = std::to_string(StatusMonitor::kTickMs);
  std::string csvPath;
  const bool counted = args.TakeOption("--count", countText);
  args.TakeOption("--interval", intervalText);
  const bool recorded = args.TakeOption("--csv", csvPath);
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  long count = 0;
  long interval = 0;
  if (!ParseCount(countText, count) || !ParseCount(intervalText, interval) || interval > 60000) {
    return context.UsageError("--count and --interval take whole numbers (MS up to 60000)");
  }
  if (!watching && (counted || recorded)) {
    return context.UsageError("--count and --csv go with --watch");
  }
  if (watching && context.options.json) {
    return context.UsageError("--watch writes CSV rows, not JSON");
  }
  if (int status = context.ConnectActuator(); status != kExitOk) {
    return status;
  }
  Session& session = context.session;
  if (!PassChecks(session, CommandDispatch::ChecksOf(MainCommand::StatusMonitor)) ||
      !ReadStatusMonitorLimits(session)) {
    return kExitFailure;
  }
  StatusMonitor monitor(session.link, session.serialPort, session.link.Span(),
                        session.link.FirmwareVersion());
  monitor.Start();
  StatusWatch watch(monitor, session.serialPort, session.clock, static_cast<int>(interval));
  if (watching) {
    return Watch(context, monitor, watch, count, csvPath);
  }
  if (!watch.NextReading([] { return false; })) {
    context.ui.ShowMessage(MessageKind::Error, kNoStatusReply, "Actuator Status");
    return kExitFailure;
  }
  PrintReading(monitor.display, context.options.json);
  return kExitOk;
}

int Diagnose(CliContext& context, CommandArgs& args) {
  std::string outPath;
  const bool toFile = args.TakeOption("--out", outPath);
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  if (int status = context.ConnectActuator(); status != kExitOk) {
    return status;
  }
  if (!PassChecks(context.session, CommandDispatch::ChecksOf(MainCommand::IdentificationCheck))) {
    return kExitFailure;
  }
  DiagnosticTest test(context.session);
  std::vector<std::string> statusLines;
  test.onStatusLine = [&test, &statusLines, json = context.options.json] {
    if (json) {
      statusLines.push_back(test.statusLine);
      return;
    }
    std::printf("%s\n", test.statusLine.c_str());
    std::fflush(stdout);
  };
  // The steps run back to back: the window's one-second pauses only let it show its progress.
  test.StartTest();
  while (test.timerRunning) {
    test.Tick();
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const std::string report = test.ReportText(local);
  if (context.options.json) {
    JsonWriter writer;
    writer.BeginObject().Field("passed", test.Passed()).Key("status_lines").BeginArray();
    for (const std::string& line : statusLines) {
      writer.String(line);
    }
    writer.EndArray().Field("report", report).EndObject().Print();
  } else {
    std::fputs(report.c_str(), stdout);
  }
  if (toFile && context.WriteOutputFile(outPath, report) != kExitOk) {
    return kExitFailure;
  }
  return test.Passed() ? kExitOk : kExitFailure;
}

// The service commands answer as the main window does without its service switch, before
// anything is sent; with it they connect. kExitOk, or the exit status to end with.
int ConnectForService(CliContext& context, MainCommand command) {
  if (!PassChecks(context.session, CommandDispatch::ChecksOf(command))) {
    return kExitFailure;
  }
  return context.ConnectActuator();
}

int ResetHours(CliContext& context, CommandArgs& args) {
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  if (int status = ConnectForService(context, MainCommand::ResetRunHours); status != kExitOk) {
    return status;
  }
  return ResetRunHoursCommand(context.session) ? kExitOk : kExitFailure;
}

int MemoryRead(CliContext& context, CommandArgs& args) {
  const bool hex = args.TakeFlag("--hex");
  std::string address;
  if (int status = context.TakeLastArgument(args, "ADDR", address); status != kExitOk) {
    return status;
  }
  if (int status = ConnectForService(context, MainCommand::MemoryReadWrite); status != kExitOk) {
    return status;
  }
  MemoryAccess memory(context.session.link, context.ui);
  std::string data;
  if (!memory.Read(address, hex, data)) {
    return kExitFailure;
  }
  if (context.options.json) {
    JsonWriter().BeginObject().Field("address", address).Field("data", data).EndObject().Print();
  } else {
    std::printf("%s\n", data.c_str());
  }
  return kExitOk;
}

int MemoryWrite(CliContext& context, CommandArgs& args) {
  std::string address;
  std::string value;
  if (!args.TakePositional(address)) {
    return context.UsageError("ADDR is missing");
  }
  if (int status = context.TakeLastArgument(args, "VALUE", value); status != kExitOk) {
    return status;
  }
  if (int status = ConnectForService(context, MainCommand::MemoryReadWrite); status != kExitOk) {
    return status;
  }
  MemoryAccess memory(context.session.link, context.ui);
  return memory.Write(address, value) ? kExitOk : kExitFailure;
}

}  // namespace

std::vector<CliCommand> MonitorCommands() {
  return {
      {"status", "status [--interval MS] [--watch [--count N] [--csv FILE]]",
       "Shows one status reading; --watch prints a CSV row per reading until N readings or "
       "Ctrl-C, --csv also records them in FILE. Ticks every 750 ms, or MS; 0 reads at the "
       "speed of the link.",
       Status, true},
      {"diagnose", "diagnose [--out FILE]",
       "Runs the identification check's seven tests and prints their report (also to FILE).",
       Diagnose, true},
      {"hours reset", "hours reset",
       "Resets the run time hours to 0 (service; asks first, --yes answers).", ResetHours},
      {"memory read", "memory read ADDR [--hex]",
       "Reads a word of the actuator's memory (service; ADDR with \"0x\" is hexadecimal).",
       MemoryRead, true},
      {"memory write", "memory write ADDR VALUE",
       "Writes a word of the actuator's memory (service; \"0x\" marks hexadecimal).", MemoryWrite},
  };
}

}  // namespace velmar
