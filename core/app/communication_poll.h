#pragma once

#include <functional>

#include "app/session.h"

namespace velmar {

// The main window's 250 ms firmware-version poll. It shows transmit and receive activity in the
// two indicators, keeps `firmwareVersion` and `crcMode` current and rebuilds the configuration
// list when the actuator's version changes. The window's timer calls Tick(); commands stop the
// timer while they talk to the actuator, so poll traffic never interleaves with theirs.
class CommunicationPoll {
 public:
  static constexpr int kIntervalMs = 250;

  explicit CommunicationPoll(Session& session) : session_(session) {}

  // One timer tick: sends a request or listens for the reply, as `pollState` says.
  void Tick();

  // Starts or stops the periodic ticks; `onRunningChanged` tells the window's timer. Once
  // stopped for good, starting does nothing.
  void StartPoll(bool start);
  // The program is shutting down: the poll stops and never starts again.
  void StopForGood();

  // 0 send in CRC form, 1 listen after it, 2 send in the link's mode, 3 listen after that.
  int pollState = 0;
  // The indicators and the requests are active; bit 0 of the OPTIONS setting.
  bool comIndicatorsEnabled = false;
  bool transmit = false;
  bool receive = false;
  bool running = false;
  std::function<void(bool)> onRunningChanged;

 private:
  void Listen();

  Session& session_;
  // A tick can wait for a reply; a timer event that arrives meanwhile must not start another.
  bool ticking_ = false;
  bool stoppedForGood_ = false;
};

// Stops the poll for the lifetime of a command and restarts it on every way out.
class PollPause {
 public:
  explicit PollPause(CommunicationPoll& poll) : poll_(poll) { poll_.StartPoll(false); }
  ~PollPause() { poll_.StartPoll(true); }
  PollPause(const PollPause&) = delete;
  PollPause& operator=(const PollPause&) = delete;

 private:
  CommunicationPoll& poll_;
};

}  // namespace velmar
