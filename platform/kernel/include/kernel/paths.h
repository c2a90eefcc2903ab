// The layer's path rules: the program's paths use `\` or `/` between components, and each component
// is found ignoring letter case, so "Media\cursor.dds", "Media/grass.bmp" and "media/tile.bmp" all
// name files inside one "media" folder. Every file function of the layer goes through ResolvePath.
#pragma once

#include <string>
#include <string_view>

namespace kernel {

struct ResolvedPath {
    // The Linux path to hand to the C library: `/` separators; every component that exists is spelled
    // as it is on disk, the first missing one and those after it as the program wrote them. A trailing
    // separator is kept. Relative paths stay relative to the working directory.
    std::string path;
    // How many trailing components were not found: 0 = the whole path exists; 1 = everything but the
    // final component exists (a file can be created there).
    int missingComponents = 0;

    bool Exists() const { return missingComponents == 0; }
    bool ParentExists() const { return missingComponents <= 1; }
};

// "." components are dropped and ".." removes the component before it, as the platform does with
// names, before anything is looked up. An empty path resolves to nothing (one missing component).
ResolvedPath ResolvePath(std::string_view programPath);

// A Linux path written in the platform's form: every `/` becomes `\` ("/tmp/run" -> "\tmp\run").
std::string ToProgramPath(std::string_view linuxPath);

// The full path of a program path in the platform's form: relative paths are joined to the working
// directory, "." and ".." are applied, separators become `\`; a trailing separator is kept.
// Empty when the working directory cannot be read.
std::string FullProgramPath(std::string_view programPath);

inline bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace kernel
