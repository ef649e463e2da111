#pragma once
// The viewer's photographs as files, in show order: the paths as given, a
// folder standing for the JPEGs and PNGs directly inside it (by name:
// .jpg, .jpeg, .png in any case; not hidden ones) in natural name order
// ("img2" before "img10").
//
// A folder of 100,000 names takes a while to sort, and the show must not
// wait for it: listing puts each folder's first, second and last photograph
// in place at once (one pass), and sorts the rest on a thread of its own.
// Until that is done, only those places are known (nameAt says which).
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// The most photographs a show takes.
constexpr uint32_t MAX_PHOTOS = 100000;

class PhotoList {
public:
    // Lists paths. A fault (a path that does not exist or cannot be read,
    // no photograph at all, too many) leaves the list empty and says what
    // is wrong in fault(), one line without the program's name.
    explicit PhotoList(const std::vector<std::string> &paths);
    ~PhotoList();   // waits for the sorting thread
    PhotoList(const PhotoList &) = delete;
    PhotoList &operator=(const PhotoList &) = delete;

    const std::string &fault() const { return listingFault; }
    uint32_t count() const { return uint32_t(files.size()); }

    // The path at index (0 .. count() - 1) in show order; false while its
    // place is not yet known (the sorting goes on). Index is the place in
    // the list as it stands: drop() moves the later ones down.
    bool nameAt(uint32_t index, std::string &path) const;

    // Takes the photograph at index out of the show (it cannot be shown);
    // waits for the sorting first. The last one is never dropped: false then.
    bool drop(uint32_t index);

    // Returns once every place is known.
    void waitForSorting() const;

private:
    struct Folder {
        uint32_t begin, end;   // its photographs' places in files
    };
    void sortFolders();

    std::vector<std::string> files;
    std::vector<Folder> folders;       // those whose middle the thread sorts
    std::string listingFault;
    std::atomic<bool> sorted{true};
    mutable std::thread sorter;
};

// Natural order of names: runs of digits compare by their value, the rest
// by character, ignoring the case of ASCII letters; true when a goes before b.
bool naturalLess(const std::string &a, const std::string &b);
