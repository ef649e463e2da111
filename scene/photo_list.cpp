#include "scene/photo_list.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/printable_text.h"

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A name the folder's listing takes: a JPEG or PNG by its ending, not hidden.
bool isPhotoName(const char *name) {
    if (name[0] == '.') return false;
    const char *dot = std::strrchr(name, '.');
    if (!dot) return false;
    std::string ending;
    for (const char *p = dot + 1; *p; ++p) ending += lowerAscii(*p);
    return ending == "jpg" || ending == "jpeg" || ending == "png";
}

// Appends the photographs directly inside folder (unsorted); false, with
// fault set, when it cannot be read.
bool listFolder(const std::string &folder, std::vector<std::string> &files, std::string &fault) {
    DIR *dir = opendir(folder.c_str());
    if (!dir) {
        fault = "cannot read the folder " + printableText(folder) + ": " + std::strerror(errno);
        return false;
    }
    const std::string prefix = folder.back() == '/' ? folder : folder + "/";
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_type == DT_DIR || !isPhotoName(entry->d_name)) continue;
        files.push_back(prefix + entry->d_name);
        if (files.size() > MAX_PHOTOS) break;
    }
    closedir(dir);
    return true;
}

// Puts the least, the next-least and the greatest name of [begin, end) in
// their places (first, second and last): one pass, so that a show can
// begin before the rest is sorted.
void placeEnds(std::vector<std::string>::iterator begin, std::vector<std::string>::iterator end) {
    if (end - begin < 2) return;
    std::iter_swap(begin, std::min_element(begin, end, naturalLess));
    std::iter_swap(end - 1, std::max_element(begin + 1, end, naturalLess));
    if (end - begin > 3) std::iter_swap(begin + 1, std::min_element(begin + 1, end - 1, naturalLess));
}

}  // namespace

bool naturalLess(const std::string &a, const std::string &b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            // Compare the numbers' values: without leading zeros, the longer is larger.
            while (i < a.size() && a[i] == '0') ++i;
            while (j < b.size() && b[j] == '0') ++j;
            size_t endA = i, endB = j;
            while (endA < a.size() && isDigit(a[endA])) ++endA;
            while (endB < b.size() && isDigit(b[endB])) ++endB;
            if (endA - i != endB - j) return endA - i < endB - j;
            for (; i < endA; ++i, ++j) {
                if (a[i] != b[j]) return a[i] < b[j];
            }
            continue;
        }
        const char ca = lowerAscii(a[i]), cb = lowerAscii(b[j]);
        if (ca != cb) return (unsigned char)ca < (unsigned char)cb;
        ++i, ++j;
    }
    if (a.size() - i != b.size() - j) return a.size() - i < b.size() - j;
    return a < b;   // equal but for case or leading zeros: a fixed order all the same
}

PhotoList::PhotoList(const std::vector<std::string> &paths) {
    for (const std::string &path : paths) {
        struct stat about = {};
        if (stat(path.c_str(), &about) != 0) {
            listingFault = "cannot read " + printableText(path) + ": " + std::strerror(errno);
            break;
        }
        if (!S_ISDIR(about.st_mode)) {
            files.push_back(path);   // a file given by name is taken whatever its name; its contents decide
            continue;
        }
        const uint32_t begin = count();
        if (!listFolder(path, files, listingFault)) break;
        if (count() - begin > 2) folders.push_back({begin, count()});
        placeEnds(files.begin() + begin, files.end());
        if (files.size() > MAX_PHOTOS) break;
    }
    if (listingFault.empty() && files.size() > MAX_PHOTOS) {
        listingFault = "more than " + std::to_string(MAX_PHOTOS) + " photographs";
    }
    if (listingFault.empty() && files.empty()) listingFault = "no JPEG or PNG photographs among the paths given";
    if (!listingFault.empty()) {
        files.clear();
        folders.clear();
        return;
    }
    if (!folders.empty()) {
        sorted = false;
        sorter = std::thread(&PhotoList::sortFolders, this);
    }
}

PhotoList::~PhotoList() { waitForSorting(); }

void PhotoList::sortFolders() {
    for (const Folder &folder : folders) {
        std::sort(files.begin() + folder.begin + 2, files.begin() + folder.end - 1, naturalLess);
    }
    sorted = true;
}

void PhotoList::waitForSorting() const {
    if (sorter.joinable()) sorter.join();
}

bool PhotoList::nameAt(uint32_t index, std::string &path) const {
    if (index >= count()) return false;
    if (!sorted) {
        for (const Folder &folder : folders) {
            if (index >= folder.begin + 2 && index + 1 < folder.end) return false;
        }
    }
    path = files[index];
    return true;
}

bool PhotoList::drop(uint32_t index) {
    if (index >= count() || count() == 1) return false;
    waitForSorting();
    folders.clear();   // all sorted: every place is known
    files.erase(files.begin() + index);
    return true;
}
