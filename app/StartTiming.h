#pragma once

class QDialog;

namespace app {

/// The environment variable that asks a start to be timed (the benchmark of
/// the start sets it; the desktop never does).
inline constexpr char kStartTimingVariable[] = "TALLOMER_START_TIMING";

/// Called once the login window of the start has been painted. When the
/// environment holds kStartTimingVariable, writes "login shown after N ms"
/// (N counted from the program's start) to standard output and leaves the
/// login as 终止 does, which ends the program; otherwise does nothing.
void reportStartIfTimed(QDialog* login);

} // namespace app
