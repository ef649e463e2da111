#pragma once
// A filesystem without nameless files (O_TMPFILE), as some network and FUSE
// filesystems are, for the program's own calls of open() in this process:
// the linker sends them through here (--wrap=open, tests/CMakeLists.txt).
// While an object of this class lives, open() with O_TMPFILE fails with
// EOPNOTSUPP; every other call goes on to the real open(). Main thread only.
class WithoutNamelessFiles {
public:
    WithoutNamelessFiles();
    ~WithoutNamelessFiles();
    WithoutNamelessFiles(const WithoutNamelessFiles &) = delete;
    WithoutNamelessFiles &operator=(const WithoutNamelessFiles &) = delete;
};
