#include "platform/TermSignal.h"

#include <SDL.h>
#include <signal.h>

#include <initializer_list>

namespace plat {
namespace {

volatile sig_atomic_t gSignal = 0;

void OnTermSignal(int sig) { gSignal = sig; }

}  // namespace

void InstallTermSignals() {
  // SDL would otherwise install its own handlers when it starts, and they
  // turn these signals into a quit event indistinguishable from a click on
  // the window's close button.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  struct sigaction sa {};
  sa.sa_handler = OnTermSignal;
  sigemptyset(&sa.sa_mask);
  // Once only: if closing hangs, the next signal ends the process.
  sa.sa_flags = SA_RESETHAND | SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &sa, nullptr);
}

int TakeTermSignal() {
  int sig = gSignal;
  if (sig) gSignal = 0;
  return sig;
}

}  // namespace plat
