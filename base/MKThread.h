#pragma once
#include <windows.h>

class MKCallable;

// Worker threads. Thread functions run inside a crash guard, so an exception
// they let escape ends the thread with exit code (DWORD)-1 instead of the
// process.
using MKThreadFunction = DWORD (*)(void* argument);

// Starts function(argument) on a new thread; its answer becomes the exit code.
// The handle belongs to the thread, which closes it when it ends: use it only
// to tell success (null on failure), never to wait.
HANDLE MKCreateThread(MKThreadFunction function, void* argument);

// Runs task->Run() on a new thread. On success *handle is a handle of the
// caller's own (to wait on; the caller closes it). False for a null task or
// when no thread could be started, with *handle null.
bool MKRunOnThread(MKCallable* task, HANDLE* handle);
// The same for a thread its owner may abandon: the thread holds a reference
// on the module of this code from before it starts to its very end, so a DLL
// let go meanwhile stays loaded until the thread has ended.
bool MKRunOnPinnedThread(MKCallable* task, HANDLE* handle);

// A thread-local slot kept in `slot` (TLS_OUT_OF_INDEXES while there is
// none): Alloc allocates it once per process, also when threads race (true
// when it exists); Free frees it and marks it absent again.
bool MKThreadSlotAlloc(volatile LONG& slot);
void MKThreadSlotFree(volatile LONG& slot);

// The process's slot of per-thread records, whose first member is a handle: a
// thread started by MKRunOnThread closes that handle, frees the record with
// MKFree and clears the slot when its task has run. Init allocates the slot
// once (true when it exists); Term frees it.
bool MKThreadInfoInit();
void MKThreadInfoTerm();
DWORD MKThreadInfoSlot();  // TLS_OUT_OF_INDEXES while there is none
