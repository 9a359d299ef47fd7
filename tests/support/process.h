// Runs a program for end-to-end tests: arguments, standard input, environment changes; captures
// standard output, standard error and the exit status.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace trel::testing {

struct ProcessResult {
  int status = -1;  // exit status, or 128 + signal number
  std::string out;
  std::string err;
};

struct ProcessOptions {
  std::string input;             // written to standard input, which is then closed
  std::string workingDirectory;  // empty: the current one
  // Environment changes: a value sets the variable, nothing removes it.
  std::map<std::string, std::optional<std::string>> environment;
};

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOptions& options = {});

// A fresh, empty temporary directory, removed when the object goes.
class TempDir {
 public:
  explicit TempDir(const std::string& tag);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Writes a file below the directory and answers its path.
  std::string write(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

// Changes the current directory for the life of the object, and changes it back.
class CurrentDirectoryScope {
 public:
  explicit CurrentDirectoryScope(const std::string& dir) : saved_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~CurrentDirectoryScope() {
    std::error_code ec;
    std::filesystem::current_path(saved_, ec);
  }
  CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
  CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

 private:
  std::filesystem::path saved_;
};

}  // namespace trel::testing
