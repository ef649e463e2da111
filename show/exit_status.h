#pragma once
// The program's exit statuses, one set for the presentation and recordings.
constexpr int EXIT_STATUS_OK = 0;       // after a run, the dialog's Exit, --help, --version, a recording written
constexpr int EXIT_STATUS_FAILED = 1;   // the display could not be opened or was lost, or output failed
constexpr int EXIT_STATUS_USAGE = 2;    // a command line that cannot be read
constexpr int EXIT_STATUS_INTERRUPTED = 130;   // a recording stopped by SIGINT or SIGTERM; nothing is left of it
