#include "gui/display_probe.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

namespace trel::gui {

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool connectUnix(const std::string& path, bool abstract) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  size_t offset = abstract ? 1 : 0;  // an abstract name starts with a zero byte
  if (path.size() + offset >= sizeof(address.sun_path)) {
    ::close(fd);
    return false;
  }
  std::memcpy(address.sun_path + offset, path.data(), path.size());
  socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
  bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
  ::close(fd);
  return ok;
}

bool connectTcp(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;
  bool ok = false;
  for (addrinfo* a = found; a && !ok; a = a->ai_next) {
    int fd = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
    if (fd < 0) continue;
    ok = ::connect(fd, a->ai_addr, a->ai_addrlen) == 0;
    ::close(fd);
  }
  ::freeaddrinfo(found);
  return ok;
}

}  // namespace

bool displayReachable(std::string& why) {
  std::string platform = environment("QT_QPA_PLATFORM");
  if (!platform.empty() && platform.rfind("xcb", 0) != 0) return true;  // not X11
  if (platform.empty() && !environment("WAYLAND_DISPLAY").empty()) return true;
  std::string display = environment("DISPLAY");
  if (display.empty()) {
    why = "DISPLAY is not set";
    return false;
  }
  // [host]:number[.screen]; a leading "unix" or no host means the local socket.
  size_t colon = display.rfind(':');
  if (colon == std::string::npos) {
    why = "DISPLAY \"" + display + "\" is not of the form host:number";
    return false;
  }
  std::string host = display.substr(0, colon);
  int number = std::atoi(display.c_str() + colon + 1);
  if (host.empty() || host == "unix") {
    std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
    if (connectUnix(socket, false) || connectUnix(socket, true)) return true;
  } else if (host[0] == '/') {
    return true;  // a launchd-style socket path: leave it to Qt
  } else if (connectTcp(host, 6000 + number)) {
    return true;
  }
  why = "cannot connect to the X display \"" + display + "\"";
  return false;
}

}  // namespace trel::gui
