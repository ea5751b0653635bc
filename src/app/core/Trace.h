// The execution trace: every method records its qualified name
// ("CRootFlow::Move") as its first action in a ring of the last 256 entries.
// Nothing is written while the program runs normally; when a failure escapes
// a frame the ring is written to "VQLog.txt" so the player can send it in.
#pragma once

// Creates the ring. False when it exists already (it is then left alone).
bool TraceInit();
// Records one entry; a no-op while the ring does not exist. Never allocates,
// safe to call from any thread.
void Trace(const char* text);
// Writes the log "VQLog.txt" into `directory` (ending in a separator) and
// keeps the ring. False when there is no ring or the file cannot be written.
bool TraceWrite(const char* directory);
// Writes the log into `directory` (when given and the ring exists), then
// releases the ring.
void TraceDump(const char* directory);
