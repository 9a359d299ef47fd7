#include "gui/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace trel::gui {

namespace {

int pipeEnds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

void onSignal(int signal) {
  unsigned char number = static_cast<unsigned char>(signal);
  // Nothing but write() is safe here; a full pipe means the signal is already on its way.
  [[maybe_unused]] ssize_t ignored = ::write(pipeEnds[1], &number, 1);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal)
    : onSignal_(std::move(onSignal)) {
  if (pipeEnds[0] < 0 && ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    unsigned char number = 0;
    if (::read(pipeEnds[0], &number, 1) == 1 && onSignal_) onSignal_(number);
  });
  struct sigaction action {};
  action.sa_handler = gui::onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : kSignals) ::sigaction(s, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int s : kSignals) ::sigaction(s, &action, nullptr);
}

}  // namespace trel::gui
