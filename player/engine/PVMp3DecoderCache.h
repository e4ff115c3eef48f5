#pragma once

class PVAudioDecoderDriver;

// Opened MP3 decoder drivers, one per rate (5500, 11025, 22050, 44100 Hz)
// and channel count, so that a starting sound does not search the installed
// drivers. Filled and emptied on the user-interface thread, before the first
// movie with sound plays and after every audio thread has quit; read by the
// audio threads in between.

// Opens the drivers of every empty slot (keeping each slot's result code)
// and adds one reference to every driver it holds. Always true: a slot
// that fails only gives its sounds its code.
bool OpenMp3DecoderCache();
// Drops one reference from every held driver; a driver whose count reaches
// 0 is deleted and its slot emptied. The result codes stay.
void CloseMp3DecoderCache();
// The slot's driver (no reference added) for `channels` (1 mono, else
// stereo) at `rate` Hz, with the slot's code in `result`; null with result
// 1 for a rate not in the table.
PVAudioDecoderDriver* FindMp3Decoder(int channels, int rate, int& result);
