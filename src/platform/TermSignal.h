// Requests from the system to end the program: SIGTERM (a shutdown, a
// kill), SIGINT (Ctrl+C in a terminal) and SIGHUP (the terminal closed).
// They are not a player's click on the close button, so the game does not
// ask "終了しますか？" about them: the main loop sees the request and
// closes as it does at the end of a normal session, settings written.
#pragma once

namespace plat {

// Takes over the three signals for the rest of the process (and keeps SDL
// from turning them into its quit event). After the first request a second
// signal of the same kind ends the process at once, the system's default.
void InstallTermSignals();

// The signal of a request that came since the last call, or 0.
int TakeTermSignal();

}  // namespace plat
