#pragma once
// Output files that appear only when complete. A partial file is written
// without a name in its final folder (O_TMPFILE), reached through a path of
// this process's own (/proc/self/fd/N), and linked under its final name only
// by completePartialFile, which replaces an older file of that name in one
// step. Until then no name exists that a crash or a kill could leave behind:
// the kernel frees the file however the process ends.
//
// Where the folder's filesystem cannot make nameless files, or /proc is not
// mounted, the partial file is a hidden ".NAME.XXXXXX.part" beside the final
// one, renamed at the end and removed by discardPartialFile or at the
// process's normal exit.
//
// A file that replaces another keeps the old one's permissions, as editors
// do. What is at the final name is never touched before completion: a folder
// or a file this process may not write refuses the output; a device or a pipe
// there is written to directly, as any program writes to it, and never
// replaced or removed.
//
// Main thread only (the path may be handed to other threads to write through).
#include <string>

struct PartialFile {
    std::string finalPath;   // the name it gets when complete
    std::string writePath;   // the path to write through while it is partial
    int fd = -1;             // keeps the nameless file alive; -1 when none is open
    bool named = false;      // the fallback: writePath is a real name in the folder
    bool direct = false;     // finalPath is a device or a pipe: writePath is finalPath
};

// Makes an empty partial file for finalPath (mode 0666 less the umask, or the
// permissions of the file it will replace). False, with a short reason in
// error ("No such file or directory", "Is a directory", "Permission denied",
// "File name too long", ...), when the folder does not exist or cannot be
// written, finalPath names a folder or a file that may not be written, or
// its name leaves no room for the hidden name beside it.
bool openPartialFile(const std::string &finalPath, PartialFile &file, std::string &error);

// Gives the written file its final name and closes it. False, with the
// reason, when that fails; the partial file is then discarded.
bool completePartialFile(PartialFile &file, std::string &error);

// Throws the partial file away; harmless when there is none or it is complete.
void discardPartialFile(PartialFile &file);
