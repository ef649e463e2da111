// rezpack: the command-line tool for the asset archive that the presentation
// carries, so a group can put its own photographs, graphics and music in.
//
//   rezpack pack OUT FILE...             pack FILEs (by base name) into OUT
//   rezpack list ARCHIVE                 one line per entry: name, size, offset (tab-separated)
//   rezpack extract ARCHIVE NAME [OUT]   write entry NAME to OUT (default ./NAME; "-": stdout)
//
// Exit status 0 on success; 1 with one line on stderr on any failure.
#include "assets/resource_archive.h"
#include "platform/temp_file.h"
#include "tools/rezpack/archive_writer.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

static int fail(const std::string &message) {
    std::cerr << "rezpack: " << message << "\n";
    return 1;
}

// Copies a file's bytes to an open stream; false on any read or write error.
static bool copyToStream(const std::string &from, FILE *to) {
    FILE *in = std::fopen(from.c_str(), "rb");
    if (!in) return false;
    char chunk[65536];
    bool complete = true;
    size_t got;
    while (complete && (got = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
        complete = std::fwrite(chunk, 1, got, to) == got;
    }
    complete = complete && !std::ferror(in);
    std::fclose(in);
    return complete;
}

static bool copyFile(const std::string &from, const std::string &to) {
    FILE *out = std::fopen(to.c_str(), "wb");
    if (!out) return false;
    bool complete = copyToStream(from, out);
    return std::fclose(out) == 0 && complete;
}

// Opens the archive the way the presentation does: the reader works on a
// temporary copy, which it deletes when closed. False (and the reader
// closed) when the archive cannot be read or is malformed.
static bool openArchive(const std::string &archive) {
    std::string copy = createTempFile();
    if (copy.empty()) return false;
    if (!copyFile(archive, copy)) {
        removeTempFile(copy);
        return false;
    }
    if (ResourceArchive::open(copy.c_str()) != 0) {
        ResourceArchive::close();
        return false;
    }
    return true;
}

static int listArchive(const std::string &archive) {
    if (!openArchive(archive)) return fail(archive + ": cannot read, or not a valid archive");
    for (uint32_t i = 0; i < ResourceArchive::entryCount(); ++i) {
        const ResourceArchiveEntry &entry = ResourceArchive::entry(i);
        std::cout << entry.name << '\t' << entry.size << '\t' << entry.offset << '\n';
    }
    ResourceArchive::close();
    std::cout.flush();
    return std::cout ? 0 : fail("cannot write the listing");
}

static int extractFromArchive(const std::string &archive, const std::string &name,
                              const std::string &outPath) {
    if (!openArchive(archive)) return fail(archive + ": cannot read, or not a valid archive");
    char extracted[RESOURCE_PATH_SIZE];
    ResourceArchive::extractEntry(name.c_str(), extracted);
    ResourceArchive::close();
    if (!extracted[0]) return fail("no entry named " + name + " in " + archive);

    bool written = outPath == "-" ? copyToStream(extracted, stdout) && std::fflush(stdout) == 0
                                  : copyFile(extracted, outPath);
    removeTempFile(extracted);
    if (!written && outPath != "-") std::remove(outPath.c_str());
    return written ? 0 : fail("cannot write " + outPath);
}

int main(int argc, char **argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const char *usage =
        "usage: rezpack pack OUT FILE... | list ARCHIVE | extract ARCHIVE NAME [OUTFILE]";
    if (args.size() >= 2 && args[0] == "pack") {
        std::string error = packArchive(args[1], {args.begin() + 2, args.end()});
        return error.empty() ? 0 : fail(error);
    }
    if (args.size() == 2 && args[0] == "list") return listArchive(args[1]);
    if ((args.size() == 3 || args.size() == 4) && args[0] == "extract") {
        return extractFromArchive(args[1], args[2], args.size() == 4 ? args[3] : args[2]);
    }
    return fail(usage);
}
