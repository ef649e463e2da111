// rezpack: the command-line tool for the asset archive that the presentation
// carries, so a group can put its own photographs, graphics and music in.
//
//   rezpack pack OUT FILE...             pack FILEs (by base name) into OUT
//   rezpack list ARCHIVE                 one line per entry: name, size, offset (tab-separated)
//   rezpack extract ARCHIVE NAME [OUT]   write entry NAME to OUT (default ./NAME; "-": stdout)
//
// Exit status 0 on success; 1 with one line on stderr on any failure. An
// output is written beside its path and takes the name only when complete,
// so a failed write leaves what was there as it was. Names and paths are
// printed with their control characters escaped.
#include "assets/resource_archive.h"
#include "platform/partial_file.h"
#include "platform/printable_text.h"
#include "platform/temp_file.h"
#include "tools/rezpack/archive_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <vector>

static int fail(const std::string &message) {
    std::cerr << "rezpack: " << message << "\n";
    return 1;
}

// Copies one stream into another; false on any read or write error.
static bool copyStream(FILE *in, FILE *out) {
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
        if (std::fwrite(chunk, 1, got, out) != got) return false;
    }
    return !std::ferror(in);
}

// Writes path with write(stream), beside it first (platform/partial_file.h).
// False, with the reason in error, when anything fails; path is then as it was.
template <typename Write>
static bool writeOutput(const std::string &path, Write write, std::string &error) {
    PartialFile output;
    if (!openPartialFile(path, output, error)) return false;
    FILE *out = std::fopen(output.writePath.c_str(), "wb");
    bool complete = out && write(out);
    if (out && std::fclose(out) != 0) complete = false;
    if (!complete) {
        error = std::strerror(errno);
        discardPartialFile(output);
        return false;
    }
    return completePartialFile(output, error);
}

// Opens the archive the way the presentation does: the reader works on a
// temporary copy, which it deletes when closed. False (and the reader
// closed) when the archive cannot be read or is malformed.
static bool openArchive(const std::string &archive) {
    std::string copy = createTempFile();
    if (copy.empty()) return false;
    FILE *in = std::fopen(archive.c_str(), "rb");
    FILE *out = openTempFile(copy, "wb");
    bool copied = in && out && copyStream(in, out);
    if (in) std::fclose(in);
    if (out && std::fclose(out) != 0) copied = false;
    if (!copied) {
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
    if (!openArchive(archive)) return fail(printableText(archive) + ": cannot read, or not a valid archive");
    for (uint32_t i = 0; i < ResourceArchive::entryCount(); ++i) {
        const ResourceArchiveEntry &entry = ResourceArchive::entry(i);
        std::cout << printableText(entry.name) << '\t' << entry.size << '\t' << entry.offset << '\n';
    }
    ResourceArchive::close();
    std::cout.flush();
    return std::cout ? 0 : fail("cannot write the listing");
}

// Whether a stored name, taken as a path, stays in the current folder: not
// absolute and without a ".." part.
static bool staysHere(const std::string &name) {
    if (name.empty() || name[0] == '/') return false;
    for (size_t start = 0; start <= name.size();) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0) return false;
        start = end + 1;
    }
    return true;
}

static int extractFromArchive(const std::string &archive, const std::string &name, const std::string &outPath) {
    if (!openArchive(archive)) return fail(printableText(archive) + ": cannot read, or not a valid archive");
    char extracted[RESOURCE_PATH_SIZE];
    ResourceArchive::extractEntry(name.c_str(), extracted);
    ResourceArchive::close();
    if (!extracted[0]) return fail("no entry named " + printableText(name) + " in " + printableText(archive));

    FILE *in = openTempFile(extracted, "rb");
    std::string error = "cannot read the extracted entry";
    bool written = false;
    if (in && outPath == "-") {
        written = copyStream(in, stdout) && std::fflush(stdout) == 0;
        error = std::strerror(errno);
    } else if (in) {
        written = writeOutput(outPath, [in](FILE *out) { return copyStream(in, out); }, error);
    }
    if (in) std::fclose(in);
    removeTempFile(extracted);
    return written ? 0 : fail("cannot write " + printableText(outPath) + ": " + error);
}

static int packFiles(const std::string &outPath, const std::vector<std::string> &files) {
    std::string archive;
    std::string error = packArchive(files, archive);
    if (!error.empty()) return fail(error);
    const bool written = writeOutput(
        outPath, [&archive](FILE *out) { return std::fwrite(archive.data(), 1, archive.size(), out) == archive.size(); },
        error);
    return written ? 0 : fail("cannot write " + printableText(outPath) + ": " + error);
}

static int run(const std::vector<std::string> &args) {
    if (args.size() >= 2 && args[0] == "pack") return packFiles(args[1], {args.begin() + 2, args.end()});
    if (args.size() == 2 && args[0] == "list") return listArchive(args[1]);
    if (args.size() == 4 && args[0] == "extract") return extractFromArchive(args[1], args[2], args[3]);
    if (args.size() == 3 && args[0] == "extract") {
        // As tar and unzip do: a stored name never writes outside the current folder.
        if (!staysHere(args[2])) {
            return fail("entry name " + printableText(args[2]) + " is not a path inside the current folder; give OUT");
        }
        return extractFromArchive(args[1], args[2], args[2]);
    }
    return fail("usage: rezpack pack OUT FILE... | list ARCHIVE | extract ARCHIVE NAME [OUTFILE]");
}

int main(int argc, char **argv) {
    try {
        return run({argv + 1, argv + argc});
    } catch (const std::bad_alloc &) {
        return fail("out of memory");
    }
}
