#include "QuitSignals.h"

#include <SDL.h>

#include <csignal>

namespace platform {
namespace {

// Set by the handler, read by the loop: a signal handler can only reach a flag of static
// storage, and a lock-free sig_atomic_t is the one kind it may write.
volatile std::sig_atomic_t QuitRequested = 0;

// The signals asking the game to end, in the order of Previous_.
constexpr std::array<int, 2> kSignals = {SIGINT, SIGTERM};

void NoteQuitSignal(int) {
  QuitRequested = 1;
}

}  // namespace

TQuitSignals::TQuitSignals() {
  // SDL would otherwise put its own handlers in when no one else's is there.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  QuitRequested = 0;
  struct sigaction action {};
  action.sa_handler = NoteQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < kSignals.size(); ++i) {
    sigaction(kSignals[i], &action, &Previous_[i]);
  }
}

TQuitSignals::~TQuitSignals() {
  for (size_t i = 0; i < kSignals.size(); ++i) {
    sigaction(kSignals[i], &Previous_[i], nullptr);
  }
}

bool TQuitSignals::Requested() const {
  return QuitRequested != 0;
}

}  // namespace platform
