#include "platform/guardian.h"

#include <fcntl.h>         // open, fcntl
#include <sys/prctl.h>     // naming the guardian in the process list
#include <sys/socket.h>    // the socket pair between program and guardian
#include <sys/wait.h>      // waitpid
#include <unistd.h>        // fork, close_range, _exit

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>

namespace {

// One fixed-size record per message; a SOCK_SEQPACKET pair keeps each whole,
// and the end-of-file when every holder of the program's end is gone.
enum RecordKind : uint32_t {
    RememberRecord = 1,   // configuration: what to put back
    AllDoneRecord = 2,    // nothing to put back; the guardian exits
};

struct GuardianRecord {
    uint32_t kind = 0;
    DisplayConfiguration configuration;   // for RememberRecord
};

// The program's side.
struct GuardianState {
    int end = -1;              // the program's end of the pair; -1 once closed
    pid_t pid = 0;             // the guardian, until it is reaped
    bool remembered = false;   // a configuration was told
    bool saidAllDone = false;
};

GuardianState state;

void sendRecord(const GuardianRecord &record) {
    if (state.end < 0) return;
    // MSG_NOSIGNAL: a guardian that is gone must not take the program with it.
    while (send(state.end, &record, sizeof record, MSG_NOSIGNAL) < 0 && errno == EINTR) {
    }
}

void closeEnd() {
    if (state.end >= 0) close(state.end);
    state.end = -1;
}


// ---- The guardian's side.

// Reads records until "all done" or end-of-file, then restores if it must.
GuardianOutcome serve(int end, GuardianRestore restore) {
    GuardianRecord record;
    DisplayConfiguration saved;
    bool haveSaved = false;
    for (;;) {
        const ssize_t got = recv(end, &record, sizeof record, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;   // end-of-file, or the pair broke: the program is gone
        if (size_t(got) != sizeof record) continue;
        if (record.kind == AllDoneRecord) return GuardianAllDone;
        if (record.kind == RememberRecord && !haveSaved) {
            saved = record.configuration;
            haveSaved = true;
        }
    }
    if (!haveSaved) return GuardianNothingToRestore;
    return restore(saved) ? GuardianRestored : GuardianRestoreFailed;
}

void closeDescriptorsFrom(int first) {
    if (close_range(unsigned(first), ~0U, 0) == 0) return;
    const long limit = sysconf(_SC_OPEN_MAX);
    for (long fd = first; fd < (limit > 0 && limit < 65536 ? limit : 65536); ++fd) close(int(fd));
}

// The child after fork: keeps only its end (as descriptor 3) and /dev/null as
// standard streams, so that nothing it inherited stays open because of it.
[[noreturn]] void becomeGuardian(int end, GuardianRestore restore) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGINT, &ignore, nullptr);
    sigaction(SIGTERM, &ignore, nullptr);
    sigaction(SIGHUP, &ignore, nullptr);

    const int kept = fcntl(end, F_DUPFD, 10);   // out of the way of 0 to 3
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        for (int stream = 0; stream < 3; ++stream) dup2(devNull, stream);
    }
    dup2(kept >= 0 ? kept : end, 3);
    closeDescriptorsFrom(4);
    prctl(PR_SET_NAME, "dorirova-guard");
    _exit(serve(3, restore));
}

}  // namespace

bool startGuardian(GuardianRestore restore) {
    if (state.pid > 0) return false;
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return false;
    const pid_t pid = fork();
    if (pid < 0) {
        close(ends[0]);
        close(ends[1]);
        return false;
    }
    if (pid == 0) {
        close(ends[0]);
        becomeGuardian(ends[1], restore);
    }
    close(ends[1]);
    state = GuardianState{ends[0], pid, false, false};
    // A safety net only: start-up ends the guardian itself, but FLTK and Xlib
    // call exit themselves (a lost display connection, a failed dialog), and
    // then this is what still tells it.
    static const bool exitHookRegistered = std::atexit(endGuardian) == 0;
    (void)exitHookRegistered;
    return true;
}

void guardianRemember(const DisplayConfiguration &configuration) {
    if (state.end < 0) return;
    GuardianRecord record;
    record.kind = RememberRecord;
    record.configuration = configuration;
    sendRecord(record);
    state.remembered = true;
}

void guardianAllDone() {
    if (state.end < 0) return;
    GuardianRecord record;
    record.kind = AllDoneRecord;
    sendRecord(record);
    closeEnd();
    state.saidAllDone = true;
}

void guardianHangUp() { closeEnd(); }

void endGuardian() {
    if (state.end >= 0 && !state.remembered) guardianAllDone();
    if (state.saidAllDone) waitForGuardian();
}

int guardianProcessId() { return state.pid; }

int waitForGuardian() {
    if (state.pid <= 0 || state.end >= 0) return -1;
    int status = 0;
    pid_t ended;
    while ((ended = waitpid(state.pid, &status, 0)) < 0 && errno == EINTR) {
    }
    state.pid = 0;
    state.saidAllDone = false;
    return ended > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
