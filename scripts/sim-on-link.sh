# Sourced by scripts that need a simulated actuator. sim_on_link BUILD WORK [OPTION...] starts
# BUILD's velmar-sim with its pty linked as WORK/actuator (its output in WORK/sim.log) and waits
# for the link; at exit the simulator is stopped and WORK removed.
sim_on_link() {
  local build=$1
  sim_work=$2
  shift 2
  "$build/bin/velmar-sim" --link "$sim_work/actuator" "$@" >"$sim_work/sim.log" 2>&1 &
  sim_pid=$!
  trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; rm -rf "$sim_work"' EXIT
  for _ in $(seq 200); do
    [ -e "$sim_work/actuator" ] && break
    sleep 0.05
  done
}
