// No failure loses a file: Build exe, Save, Save debug log and the editor text's write are killed
// at random moments and run into a full disk (a file-size limit); the file is always the old one or
// the new one, whole, and no temporary file outlives the next write.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include "process.h"
#include "resources/embedded_code.h"
#include "rtl/errors.h"
#include "rtl/replacement_file.h"
#include "rtl/text.h"
#include "shell/main_form.h"
#include "test_host.h"

namespace fs = std::filesystem;
using trel::testing::TempDir;

namespace {

// Files in `dir` whose names start with ".": the temporary files of replacements.
int temporaries(const std::string& dir) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(dir)) n += e.path().filename().string()[0] == '.';
  return n;
}

// Runs `body` in a child process under a file-size limit of `limit` bytes (a full disk for every
// write past it); answers what the child reported, or how it died.
std::string underFileSizeLimit(rlim_t limit, const std::function<std::string()>& body) {
  int fds[2];
  if (::pipe(fds) != 0) return "no pipe";
  pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    rlimit r{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &r);
    std::string report;
    try {
      report = body();
    } catch (const std::exception& e) {
      report = "thrown: " + trel::errorText(e);
    }
    if (::write(fds[1], report.data(), report.size()) < 0) _exit(2);
    _exit(0);
  }
  ::close(fds[1]);
  std::string report;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) report.append(buffer, n);
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) report += " [child died]";
  return report;
}

// An IDE in a fresh folder, for the commands that write files.
struct Ide {
  TempDir dir{"faults"};
  trel::testing::CurrentDirectoryScope cwd{dir.path()};
  trel::testing::TestHost host;
  trel::TForm1 form{host, {"base.exe"}};
  Ide() {
    host.machine = &form.machine;
    form.machine.startupDirectory = dir.path();
    form.buildWaitMilliseconds = 0;
    fs::create_directories(dir.path() + "/projects");
  }
  // Runs a command the way the IDE does; answers the message it showed, or "".
  std::string command(void (trel::TForm1::*handler)()) {
    try {
      (form.*handler)();
      return "";
    } catch (const std::exception& e) {
      return trel::errorText(e);
    }
  }
};

TEST(FaultInjection, AFullDiskLeavesEveryOldFileWholeWithAClearMessage) {
  Ide ide;
  const std::string big(3 << 20, 'n');  // more than the limit allows
  std::string stub = TREL_TREL_PATH;
  trel::writeWholeFile("saved.qn", "old text");
  trel::writeWholeFile("log.txt", "old log");
  trel::writeWholeFile("code.qn", "old code");
  fs::copy_file(stub, "prog.exe");
  const std::string oldProgram = trel::readWholeFile("prog.exe");

  std::string report = underFileSizeLimit(1 << 20, [&] {
    std::string out;
    ide.form.machine.highlvl = {big};
    ide.host.answers.push_back(ide.dir.path() + "/saved.qn");
    out += "save: " + ide.command(&trel::TForm1::Button3Click) + "\n";
    ide.form.machine.debug.append(big);
    out += "log: " + ide.command(&trel::TForm1::Button5Click) + "\n";
    out += "code: " + ide.command(&trel::TForm1::FormClose) + "\n";
    ide.form.stubFileName = stub;
    ide.form.machine.code = {"%ECHO new"};
    ide.host.answers.push_back("prog.exe");
    out += "build: " + ide.command(&trel::TForm1::Button4Click) + "\n";
    return out;
  });
  const std::string tooLarge = std::strerror(EFBIG);
  EXPECT_EQ(report, "save: Cannot write file \"" + ide.dir.path() + "/saved.qn\". " + tooLarge +
                        "\nlog: Cannot write file \"" + ide.dir.path() + "/log.txt\". " + tooLarge +
                        "\ncode: Cannot write file \"code.qn\". " + tooLarge +
                        "\nbuild: cannot write file prog.exe. Please check whether it is open or "
                        "set read-only. (" +
                        tooLarge + ")\n");
  EXPECT_EQ(trel::readWholeFile("saved.qn"), "old text");
  EXPECT_EQ(trel::readWholeFile("log.txt"), "old log");
  EXPECT_EQ(trel::readWholeFile("code.qn"), "old code");
  EXPECT_TRUE(trel::readWholeFile("prog.exe") == oldProgram);
  EXPECT_EQ(temporaries(ide.dir.path()), 0);
}

TEST(FaultInjection, AKilledBuildLeavesTheOldProgramOrTheNewOneAndTheNextBuildCleansUp) {
  TempDir dir("killed-build");
  const std::string stub = TREL_TREL_PATH;
  trel::testing::ProcessOptions in;
  in.workingDirectory = dir.path();
  dir.write("old.qn", "%ECHO old\n");
  dir.write("new.qn", "%ECHO new\n");
  auto build = [&](const std::string& source) {
    return trel::testing::runProcess(TREL_QN_PATH,
                                     {"build", source, "-o", "prog.exe", "--stub", stub}, in);
  };
  ASSERT_EQ(build("old.qn").status, 0);
  const std::string oldEntry = trel::readEmbeddedEntry(dir.path() + "/prog.exe");
  const std::string newEntry = trel::encodeEmbeddedCode("%ECHO new\r\nHALT");

  // How long a build takes here, so the kills land inside it.
  auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(build("old.qn").status, 0);
  const auto span = std::chrono::steady_clock::now() - start;
  std::mt19937 random(20261208);
  int killedInside = 0;
  for (int trial = 0; trial < 20; ++trial) {
    pid_t child = ::fork();
    if (child == 0) {
      ::chdir(dir.path().c_str());
      ::execl(TREL_QN_PATH, TREL_QN_PATH, "build", trial % 2 ? "new.qn" : "old.qn", "-o",
              "prog.exe", "--stub", stub.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    auto wait = std::chrono::duration_cast<std::chrono::microseconds>(span) *
                std::uniform_real_distribution<double>(0.0, 1.2)(random);
    std::this_thread::sleep_for(wait);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    killedInside += WIFSIGNALED(status);
    // Never missing, never a mix: the entry is one of the two programs, whole.
    ASSERT_TRUE(fs::exists(dir.path() + "/prog.exe")) << "trial " << trial;
    std::string entry = trel::readEmbeddedEntry(dir.path() + "/prog.exe");
    EXPECT_TRUE(entry == oldEntry || entry == newEntry) << "trial " << trial;
  }
  EXPECT_GT(killedInside, 0);
  ASSERT_EQ(build("new.qn").status, 0);
  EXPECT_EQ(trel::readEmbeddedEntry(dir.path() + "/prog.exe"), newEntry);
  EXPECT_EQ(temporaries(dir.path()), 0);
  EXPECT_NE(fs::status(dir.path() + "/prog.exe").permissions() & fs::perms::owner_exec,
            fs::perms::none);
}

TEST(FaultInjection, AnInterruptedBuildRemovesItsTemporaryFile) {
  TempDir dir("interrupted");
  const std::string stub = TREL_TREL_PATH;
  dir.write("p.qn", "%ECHO p\n");
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    pid_t child = ::fork();
    if (child == 0) {
      ::chdir(dir.path().c_str());
      ::execl(TREL_QN_PATH, TREL_QN_PATH, "build", "p.qn", "-o", "prog.exe", "--stub", stub.c_str(),
              static_cast<char*>(nullptr));
      _exit(127);
    }
    // Interrupt as soon as the temporary file is there (or the build is done).
    for (int k = 0; k < 20000 && temporaries(dir.path()) == 0; ++k) {
      int status = 0;
      if (::waitpid(child, &status, WNOHANG) == child) {
        child = 0;
        break;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    if (child != 0) {
      ::kill(child, signal);
      ::waitpid(child, nullptr, 0);
    }
    EXPECT_EQ(temporaries(dir.path()), 0) << "signal " << signal;
  }
}

TEST(FaultInjection, AKilledSaveLeavesTheOldTextOrTheNewOne) {
  TempDir dir("killed-save");
  const std::string path = dir.path() + "/saved.qn";
  const std::string oldText(8 << 20, 'o'), newText(8 << 20, 'n');
  trel::writeWholeFile(path, oldText);
  std::mt19937 random(8122026);
  for (int trial = 0; trial < 20; ++trial) {
    pid_t child = ::fork();
    if (child == 0) {
      for (;;) trel::writeFileAtomically(path, trial % 2 ? newText : oldText);
    }
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, 40000)(random)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    std::string now = trel::readWholeFile(path);
    EXPECT_TRUE(now == oldText || now == newText) << "trial " << trial;
  }
  trel::writeFileAtomically(path, "done");
  EXPECT_EQ(temporaries(dir.path()), 0);
}

}  // namespace
