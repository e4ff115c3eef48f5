#pragma once

// The movie engine is started once per process and stopped once at exit;
// starts are counted under one process-wide lock. The first start makes the
// thread-waiter slot that the engine's thread hand-offs use, and on request
// the MP3 decoder cache. Called on the user-interface thread.

// Counts a start; the first one also makes the waiter slot and, with
// `openMp3Cache`, opens the decoder cache. False, with nothing started, when
// the slot cannot be made.
bool InitEngine(bool openMp3Cache);
// Counts a stop; the last one (with `closeMp3Cache`) closes the decoder
// cache, frees the calling thread's waiter and the slot, and deletes the
// lock so that a later start begins afresh. Without a start it does nothing.
void TermEngine(bool closeMp3Cache);
// The number of starts not yet stopped.
int EngineStartCount();
