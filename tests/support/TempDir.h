#pragma once
// A temporary folder removed with everything in it at the end of a test, and
// a scoped environment variable, so tests run in a home of their own.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

namespace orvane::testing {

class CTempDir {
  public:
    CTempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-test-XXXXXX").string();
        if (char* made = ::mkdtemp(pattern.data())) path_ = made;
    }
    ~CTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

class CScopedEnv {
  public:
    CScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Set(value);
    }
    ~CScopedEnv() { Set(old_); }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

  private:
    void Set(const std::optional<std::string>& value) {
        if (value)
            ::setenv(name_.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    std::string name_;
    std::optional<std::string> old_;
};

// XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_STATE_HOME and XDG_RUNTIME_DIR inside
// one temporary folder: no run reads the simulated keyboard memory of another.
class CTempHome {
  public:
    CTempHome()
        : data_("XDG_DATA_HOME", dir_.File("data")), config_("XDG_CONFIG_HOME", dir_.File("config")),
          state_("XDG_STATE_HOME", dir_.File("state")), runtime_("XDG_RUNTIME_DIR", dir_.File("run")) {
        std::filesystem::create_directories(dir_.File("data"));
        std::filesystem::create_directories(dir_.File("config"));
        std::filesystem::create_directories(dir_.File("run"));
    }
    const CTempDir& Dir() const { return dir_; }
    std::string Data() const { return dir_.File("data"); }
    std::string Config() const { return dir_.File("config"); }
    std::string Runtime() const { return dir_.File("run"); }
    std::string State() const { return dir_.File("state"); }

  private:
    CTempDir dir_;
    CScopedEnv data_, config_, state_, runtime_;
};

inline std::string ReadText(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

inline void WriteText(const std::string& path, const std::string& text) {
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
}

} // namespace orvane::testing
