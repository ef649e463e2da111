#pragma once
// The executable's own resources: byte blobs linked in at build time and
// looked up by type and integer id. Read-only, valid for the whole process.
// The program's resources (resources/) hand their table in as start-up's
// first step; a program without them simply finds nothing.
#include <cstddef>

struct EmbeddedResource {
    const char *type;                 // "REZ", "BITMAP"
    int id;                           // 102 the packed archive, 103 the banner
    const unsigned char *begin;       // first byte
    const unsigned char *end;         // one past the last byte
};

// Makes table (count records, kept alive by the caller for the whole
// process) the executable's resources, in place of any table given before.
void provideEmbeddedResources(const EmbeddedResource *table, int count);

struct ResourceBytes {
    const unsigned char *data = nullptr;   // null when there is no such resource
    std::size_t size = 0;                  // in bytes
};

// The resource of this type and id, or {null, 0} when the executable has none.
// A test override for the same type and id takes precedence.
ResourceBytes findResource(const char *type, int id);

// Lets the system take back the memory that reading the resource made
// resident: its bytes stay readable (they come back from the executable's
// file when read again). Memory that is not backed by a file stays as it is.
void releaseResourceMemory(ResourceBytes resource);

// Tests: make findResource answer with these bytes (the caller keeps them alive),
// or, with data null, forget the override again.
void overrideResource(const char *type, int id, const unsigned char *data, std::size_t size);
