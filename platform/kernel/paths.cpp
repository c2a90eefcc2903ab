// Path resolution: `\` and `/` separators, each component found ignoring letter case.
#include "kernel/paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "kernel/text_case.h"

namespace kernel {
namespace {

struct SplitPath {
    bool absolute = false;
    bool trailingSeparator = false;
    std::vector<std::string> components;
};

// Splits at both separators and applies "." and ".." to the names alone, as the platform does.
SplitPath Split(std::string_view path) {
    SplitPath split;
    split.absolute = !path.empty() && IsPathSeparator(path.front());
    split.trailingSeparator = !path.empty() && IsPathSeparator(path.back());
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && !IsPathSeparator(path[end])) ++end;
        std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!split.components.empty() && split.components.back() != "..")
                split.components.pop_back();
            else if (!split.absolute)
                split.components.emplace_back("..");
        } else if (!part.empty() && part != ".") {
            split.components.emplace_back(part);
        }
        start = end + 1;
    }
    return split;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PathExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// The entry of `directory` (empty for the working directory, else ending in '/') named `name` ignoring case: the exact spelling when it exists, else the
// first match in name order (so the choice does not depend on the directory's order). Empty if none.
std::string FindEntry(const std::string& directory, const std::string& name) {
    if (PathExists(directory + name)) return name;
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) return {};
    std::vector<std::string> matches;
    while (dirent* entry = readdir(dir)) {
        std::string_view entryName = entry->d_name;
        if (entryName != "." && entryName != ".." && EqualsIgnoreCase(entryName, name))
            matches.emplace_back(entryName);
    }
    closedir(dir);
    if (matches.empty()) return {};
    return *std::min_element(matches.begin(), matches.end());
}

std::string WorkingDirectory() {
    std::vector<char> buffer(256);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

}  // namespace

ResolvedPath ResolvePath(std::string_view programPath) {
    ResolvedPath result;
    if (programPath.empty()) {
        result.missingComponents = 1;
        return result;
    }
    SplitPath split = Split(programPath);
    if (split.components.empty()) {
        result.path = std::string(split.absolute ? "/" : ".");  // the root, or the working directory
        return result;
    }
    std::string current(split.absolute ? "/" : "");  // empty or ending in '/'
    for (size_t i = 0; i < split.components.size(); ++i) {
        const std::string& name = split.components[i];
        std::string found;
        if (result.missingComponents == 0) found = (name == "..") ? name : FindEntry(current, name);
        if (found.empty()) {
            ++result.missingComponents;
            found = name;
        }
        current += found;
        if (i + 1 < split.components.size()) current += '/';
    }
    if (split.trailingSeparator) {
        // A trailing separator names a folder: a file of that name does not count.
        if (result.missingComponents == 0 && !IsDirectory(current)) result.missingComponents = 1;
        current += '/';
    }
    result.path = current;
    return result;
}

std::string ToProgramPath(std::string_view linuxPath) {
    std::string result(linuxPath);
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

std::string FullProgramPath(std::string_view programPath) {
    std::string joined;
    if (programPath.empty() || !IsPathSeparator(programPath.front())) {
        joined = WorkingDirectory();
        if (joined.empty()) return {};
        joined += '/';
    }
    joined += programPath;
    SplitPath split = Split(joined);
    std::string result;
    for (const std::string& name : split.components) result += '\\' + name;
    if (result.empty() || (split.trailingSeparator && !programPath.empty())) result += '\\';
    return result;
}

}  // namespace kernel
