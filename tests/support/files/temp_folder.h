// A fresh folder under the system's temporary folder for the files a test writes, removed with all it
// holds when the object goes. Made the working directory when asked; the previous working directory
// comes back first then. Plain files only: no platform area is needed to use it.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace test_support {

class TempFolder {
public:
    enum Mode { kStayOutside, kEnter };

    explicit TempFolder(Mode mode = kStayOutside) {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvath-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder at " + pattern);
        path_ = pattern;
        if (mode == kEnter) {
            previous_ = std::filesystem::current_path();
            std::filesystem::current_path(path_);
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!previous_.empty()) std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    // The folder as the platform writes paths ("\tmp\morvath-test-abc123").
    std::string ProgramPath() const {
        std::string text = path_.string();
        for (char& c : text)
            if (c == '/') c = '\\';
        return text;
    }

    // Writes a file (and its folders) at a path relative to the folder, with `/` separators; answers
    // its full path.
    std::filesystem::path AddFile(const std::string& relative, std::string_view contents = "x") const {
        const std::filesystem::path full = path_ / relative;
        std::filesystem::create_directories(full.parent_path());
        std::ofstream(full, std::ios::binary).write(contents.data(), static_cast<std::streamsize>(contents.size()));
        return full;
    }
    std::filesystem::path AddFile(const std::string& relative, const std::vector<uint8_t>& bytes) const {
        return AddFile(relative, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    void AddFolder(const std::string& relative) const { std::filesystem::create_directories(path_ / relative); }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;  // empty when the folder was not entered
};

// A file's bytes as they are ("" when it cannot be read).
inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace test_support
