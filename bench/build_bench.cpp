// Built programs and Build exe, timed side by side in one run:
//
//   start-up: a built program that prints one line, started without a display until it exits,
//             against the stub (base.exe) running its empty placeholder program, ten runs each,
//             taken in turns; medians and their ratio.
//   build:    Build exe of a 30,000-character program without its 700 ms pause, against a plain
//             copy of the stub (the least any build must do); medians and their ratio.
//
// usage: build_bench [TREL] [RUNS]    TREL defaults to the trel of this build tree.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/main_form.h"
#include "shell/terminal_host.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The environment of a session without a display.
std::vector<std::string> headlessEnvironment() {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry(*e);
    if (entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("WAYLAND_DISPLAY=", 0) == 0 ||
        entry.rfind("QT_QPA_PLATFORM=", 0) == 0)
      continue;
    env.push_back(entry);
  }
  env.push_back("QT_QPA_PLATFORM=");
  return env;
}

// Starts the program with its output going nowhere and waits for it; answers the milliseconds.
double timeRun(const std::string& program, const std::vector<std::string>& environment) {
  std::vector<char*> envp;
  for (const std::string& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int fd = 0; fd <= 2; ++fd)
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  pid_t pid;
  Clock::time_point start = Clock::now();
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()) != 0) {
    std::perror("posix_spawn");
    std::exit(1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  double ms = millisecondsSince(start);
  posix_spawn_file_actions_destroy(&actions);
  return ms;
}

// Build exe on `code` into `target` with the stub `stub`, without the pause; answers the
// milliseconds.
double timeBuild(const std::string& stub, const std::vector<std::string>& code,
                 const std::string& target) {
  trel::TerminalHost host;
  host.answers.push_back(target);
  trel::TForm1 form(host, {"base.exe"});
  form.stubFileName = stub;
  form.buildWaitMilliseconds = 0;
  form.machine.code = code;
  Clock::time_point start = Clock::now();
  form.Button4Click();
  return millisecondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string trel = argc > 1 ? argv[1] : TREL_BENCH_TREL_PATH;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
  std::string pattern = (fs::temp_directory_path() / "trel-build-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return 1;
  const fs::path dir(pattern);
  const std::string stub = (dir / "base.exe").string();
  fs::copy_file(trel, stub);

  // Start-up.
  const std::string hello = (dir / "hello.exe").string();
  timeBuild(stub, {"%ECHO one line", "HALT"}, hello);
  const std::vector<std::string> env = headlessEnvironment();
  timeRun(hello, env);  // warm the page cache for both
  timeRun(stub, env);
  std::vector<double> built, placeholder;
  for (int k = 0; k < runs; ++k) {
    built.push_back(timeRun(hello, env));
    placeholder.push_back(timeRun(stub, env));
  }
  std::printf("stub %s (%.1f MB), %d runs each, medians\n", trel.c_str(),
              static_cast<double>(fs::file_size(stub)) / 1e6, runs);
  std::printf("  start, run, exit: built one-line program %7.2f ms\n", median(built));
  std::printf("                    stub, empty program     %7.2f ms\n", median(placeholder));
  std::printf("                    ratio built / stub      %7.2f\n",
              median(built) / median(placeholder));

  // Build exe of a 30,000-character program.
  std::vector<std::string> big;
  size_t size = 0;
  for (int k = 0; size < 30000; ++k) {
    std::string line = "%ECHO line " + std::to_string(k) + " of a program thirty thousand long";
    size += line.size() + 2;
    big.push_back(line);
  }
  const std::string target = (dir / "big.exe").string();
  std::vector<double> builds, copies;
  for (int k = 0; k < runs; ++k) {
    builds.push_back(timeBuild(stub, big, target));
    Clock::time_point start = Clock::now();
    fs::copy_file(stub, dir / "copy.exe", fs::copy_options::overwrite_existing);
    copies.push_back(millisecondsSince(start));
  }
  std::printf("  Build exe, %zu characters, no pause     %7.2f ms\n", size - 2, median(builds));
  std::printf("  plain copy of the stub                  %7.2f ms\n", median(copies));
  std::printf("  ratio build / copy                      %7.2f\n", median(builds) / median(copies));

  fs::remove_all(dir);
  return 0;
}
