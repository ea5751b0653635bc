// The program's entry: single instance, installation folder, the application
// object, and the main loop that catches a failure escaping a frame.
#pragma once

class CMainWindowImpl;

// Runs the whole program; returns the process exit code (0 normally, 0 when
// another instance runs, -1 when start-up fails or a frame fails).
int VeltoMain(int argc, char** argv);

// The main loop over an application object that has been created. Returns
// the quit code, or -1 after a failure escaped a frame (the log is written).
int RunMainLoop();

// Writes the trace log, tells the player where it is, and removes the
// application object; for a failure that escaped a frame.
void ReportUnexpectedFailure();

// Catches the fatal signals (segmentation fault, bus error, floating-point
// trap) for the rest of the process: they are reported like any other
// failure that escapes a frame, and the process ends with -1.
void InstallFatalSignalHandlers();
