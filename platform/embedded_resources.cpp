#include "platform/embedded_resources.h"

#include <sys/mman.h>  // madvise: giving the resource's pages back
#include <unistd.h>    // sysconf: the page size

#include <cstdint>
#include <cstring>

namespace {
struct Override {
    const char *type = nullptr;
    int id = 0;
    ResourceBytes bytes;
};
// A handful is plenty: tests override the archive and the banner at most.
Override overrides[4];

// Zero until provided: constant-initialised, so it is in place before any
// program-wide constructor hands a table in.
const EmbeddedResource *embedded = nullptr;
int embeddedCount = 0;
}  // namespace

void provideEmbeddedResources(const EmbeddedResource *table, int count) {
    embedded = table;
    embeddedCount = table ? count : 0;
}

ResourceBytes findResource(const char *type, int id) {
    for (const Override &o : overrides) {
        if (o.type && o.id == id && std::strcmp(o.type, type) == 0) return o.bytes;
    }
    for (int i = 0; i < embeddedCount; ++i) {
        const EmbeddedResource &r = embedded[i];
        if (r.id == id && std::strcmp(r.type, type) == 0) {
            return {r.begin, static_cast<std::size_t>(r.end - r.begin)};
        }
    }
    return {};
}

void overrideResource(const char *type, int id, const unsigned char *data, std::size_t size) {
    for (Override &o : overrides) {
        if (o.type && o.id == id && std::strcmp(o.type, type) == 0) {
            if (data) o.bytes = {data, size};
            else o = Override{};
            return;
        }
    }
    if (!data) return;
    for (Override &o : overrides) {
        if (!o.type) {
            o = Override{type, id, {data, size}};
            return;
        }
    }
}

void releaseResourceMemory(ResourceBytes resource) {
    if (!resource.data || resource.size == 0) return;
    // The whole pages inside the resource. Paging out drops clean pages of a
    // file at once, and leaves anonymous memory alone where there is no swap
    // (never zeroed, unlike MADV_DONTNEED). Kernels before 5.4 refuse it:
    // then nothing changes.
    const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t begin = (uintptr_t(resource.data) + page - 1) / page * page;
    const uintptr_t end = (uintptr_t(resource.data) + resource.size) / page * page;
    if (end > begin) madvise(reinterpret_cast<void *>(begin), end - begin, MADV_PAGEOUT);
}
