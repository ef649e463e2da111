#pragma once
// The executable's own resources: byte blobs linked in at build time and
// looked up by type and integer id. Read-only, valid for the whole process.
#include <cstddef>

struct EmbeddedResource {
    const char *type;                 // "REZ", "BITMAP"
    int id;                           // 102 the packed archive, 103 the banner
    const unsigned char *begin;       // first byte
    const unsigned char *end;         // one past the last byte
};

// The linked-in table (resources/embedded_blobs.cpp).
extern const EmbeddedResource EMBEDDED_RESOURCES[];
extern const int EMBEDDED_RESOURCE_COUNT;

struct ResourceBytes {
    const unsigned char *data = nullptr;   // null when there is no such resource
    std::size_t size = 0;                  // in bytes
};

// The resource of this type and id, or {null, 0} when the executable has none.
// A test override for the same type and id takes precedence.
ResourceBytes findResource(const char *type, int id);

// Tests: make findResource answer with these bytes (the caller keeps them alive),
// or, with data null, forget the override again.
void overrideResource(const char *type, int id, const unsigned char *data, std::size_t size);
