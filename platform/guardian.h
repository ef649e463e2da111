#pragma once
// The guardian: a small child process that puts the display mode back when
// the program ends without doing it itself (killed, crashed, its display
// connection lost). An X server keeps a mode its client set after the client
// dies, so something that outlives the program must undo it.
//
// Started first thing, before any display connection exists, it holds one end
// of a socket pair and waits. The program sends it what to undo (the display
// configuration before the mode change) and, at a clean end, "all done". When
// its end reads end-of-file without "all done", whatever the cause, it
// restores the recorded configuration through a display connection of its
// own and exits. It uses no SDL, FLTK or GL; it ignores SIGINT, SIGTERM and
// SIGHUP (they reach the whole process group, and the program's own ending
// must decide); it holds no descriptor of the program's (no temporary file,
// no audio device, no display connection). Main thread only.
#include "platform/display_configuration.h"

// Puts a recorded configuration back, in the guardian; true when it did.
using GuardianRestore = bool (*)(const DisplayConfiguration &configuration);

// How a guardian ended: its exit status.
enum GuardianOutcome : int {
    GuardianAllDone = 0,           // told "all done": nothing to undo
    GuardianNothingToRestore = 1,  // end-of-file before any configuration came
    GuardianRestored = 2,          // end-of-file: restore ran and succeeded
    GuardianRestoreFailed = 3,     // end-of-file: restore ran and failed
};

// Forks the guardian, which calls restore when it is needed. At a clean
// process exit with nothing remembered it is told "all done" and reaped.
// False, with the run going on unguarded, when it could not be started or
// one is already running.
bool startGuardian(GuardianRestore restore = restoreDisplayConfiguration);

// Tells the guardian what to put back; the first configuration told counts.
// Nothing without a guardian.
void guardianRemember(const DisplayConfiguration &configuration);

// The guardian's side of a clean end, start-up's last step: a guardian with
// nothing to undo is told "all done" and reaped; one with a configuration
// that the program did not put back itself is left to see the end-of-file.
// Harmless when repeated, and nothing without a guardian.
void endGuardian();

// Tells the guardian "all done" (the program put the display back itself)
// and closes the program's end. Nothing without a guardian.
void guardianAllDone();

// Closes the program's end without "all done", as a process that dies does.
void guardianHangUp();

// The guardian's process id; 0 when none was started or it was reaped.
int guardianProcessId();

// Waits for the guardian to end after guardianAllDone or guardianHangUp and
// returns its GuardianOutcome; -1 when there is none to wait for.
int waitForGuardian();
