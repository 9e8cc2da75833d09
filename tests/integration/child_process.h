// Helper processes of the integration tests (socat, the decoder simulator): started with their
// output in a log file, stopped and reaped when the test ends, whatever happened.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace zarvo::testing {

class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() { Stop(); }

  // Starts args[0] (searched in PATH) with its stdout and stderr appended to logPath.
  bool Start(const std::vector<std::string>& args, const std::string& logPath) {
    Stop();
    logPath_ = logPath;
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int rc = posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) pid_ = -1;
    return pid_ > 0;
  }

  bool Running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return false;
    }
    return true;
  }

  // SIGTERM, then SIGKILL if it is still there after two seconds.
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 200; ++i) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;
        return;
      }
      struct timespec ts = {0, 10000000};
      nanosleep(&ts, nullptr);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

  // Pulls the plug: SIGKILL, no chance to clean up.
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

  std::string Log() const {
    std::ifstream in(logPath_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  pid_t pid_ = -1;
  std::string logPath_;
};

// Waits up to timeoutMs for path to exist (a link made by socat or the simulator).
inline bool WaitForPath(const std::string& path, int timeoutMs) {
  struct stat st;
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    if (lstat(path.c_str(), &st) == 0) return true;
    struct timespec ts = {0, 10000000};
    nanosleep(&ts, nullptr);
  }
  return false;
}

// A socat pty pair whose two ends are the links a and b.
inline bool StartSocatPair(ChildProcess& socat, const std::string& a, const std::string& b,
                           const std::string& logPath) {
  if (!socat.Start({"socat", "pty,raw,echo=0,link=" + a, "pty,raw,echo=0,link=" + b}, logPath)) {
    return false;
  }
  return WaitForPath(a, 5000) && WaitForPath(b, 5000);
}

}  // namespace zarvo::testing
