#include <cstdio>

#include "app/hour_meters.h"
#include "base/text_format.h"
#include "cli_command.h"
#include "cli_context.h"
#include "json_writer.h"

namespace velmar {

namespace {

// Checks the arguments, connects, then runs `show`, or `json` under --json.
int ConnectAndRun(CliContext& context, CommandArgs& args, void (*show)(Session&),
                  void (*json)(Session&)) {
  if (int status = context.CheckAllTaken(args); status != kExitOk) {
    return status;
  }
  if (int status = context.ConnectActuator(); status != kExitOk) {
    return status;
  }
  (context.options.json ? json : show)(context.session);
  return kExitOk;
}

bool ReadIdentification(Session& session) {
  if (session.link.ReadIdentification() != LinkResult::kSuccess) {
    session.ui.ShowMessage(MessageKind::Warning,
                           "Actuator failed to respond to part number request.", "Program Error");
    return false;
  }
  return true;
}

void ShowIdentification(Session& session) {
  if (ReadIdentification(session)) {
    std::printf("Serial Number: %s\nModel Number: %s\nPart Number: %s\n",
                session.link.IdentSerialNumber(), session.link.IdentModelNumber(),
                session.link.IdentPartNumber());
  }
}

void IdentificationJson(Session& session) {
  if (ReadIdentification(session)) {
    JsonWriter()
        .BeginObject()
        .Field("serial_number", session.link.IdentSerialNumber())
        .Field("model_number", session.link.IdentModelNumber())
        .Field("part_number", session.link.IdentPartNumber())
        .EndObject()
        .Print();
  }
}

void FirmwareVersionJson(Session& session) {
  if (int version = 0; ReadFirmwareVersion(session, version)) {
    JsonWriter()
        .BeginObject()
        .Field("firmware_version", FormatText("%d.%02d", version >> 8, version & 0xFF))
        .EndObject()
        .Print();
  }
}

template <bool (*read)(Session&, uint32_t&)>
void HoursJson(Session& session, const char* key) {
  if (uint32_t hours = 0; read(session, hours)) {
    JsonWriter().BeginObject().Field(key, static_cast<int64_t>(hours)).EndObject().Print();
  }
}

}  // namespace

std::vector<CliCommand> ActuatorCommands() {
  return {
      {"version", "version", "Shows the actuator's firmware version.",
       [](CliContext& c, CommandArgs& a) {
         return ConnectAndRun(c, a, ShowFirmwareVersion, FirmwareVersionJson);
       },
       true},
      {"identify", "identify", "Reads the actuator's serial, model and part numbers.",
       [](CliContext& c, CommandArgs& a) {
         return ConnectAndRun(c, a, ShowIdentification, IdentificationJson);
       },
       true},
      {"hours run", "hours run", "Shows the actuator's run time hours.",
       [](CliContext& c, CommandArgs& a) {
         return ConnectAndRun(c, a, ShowRunHours,
                              [](Session& s) { HoursJson<ReadRunHours>(s, "run_hours"); });
       },
       true},
      {"hours powered", "hours powered", "Shows the actuator's powered hours.",
       [](CliContext& c, CommandArgs& a) {
         return ConnectAndRun(c, a, ShowPoweredHours,
                              [](Session& s) { HoursJson<ReadPoweredHours>(s, "powered_hours"); });
       },
       true},
  };
}

}  // namespace velmar
