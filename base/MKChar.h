#pragma once
#include <ctype.h>
#include <stddef.h>
#include <string.h>
#include <wchar.h>
#include <wctype.h>

// The text unit of the library's strings and formatter. The wide build (the
// add-in and its companion files) uses UTF-16 units; the narrow build (MK_NARROW,
// used by the player and the slide movie control) uses 8-bit text in the
// system's ANSI code page. One source serves both. The narrow build's classes sit
// in an inline namespace, so their symbols never meet the wide ones in a link
// while source code names them the same.
#ifdef MK_NARROW
typedef char MKChar;
#define MKT(text) text
#define MK_TEXT_NAMESPACE_BEGIN inline namespace MKNarrow {
#define MK_TEXT_NAMESPACE_END }
#else
typedef wchar_t MKChar;
#define MKT(text) L##text
#define MK_TEXT_NAMESPACE_BEGIN
#define MK_TEXT_NAMESPACE_END
#endif

// The C library's routines under one name per unit size.
#ifdef MK_NARROW
inline size_t MKCharLength(const char* text) { return strlen(text); }
inline size_t MKCharLengthMax(const char* text, size_t n) { return strnlen(text, n); }
inline void MKCharCopy(char* to, const char* from, size_t n) { memcpy(to, from, n); }
inline void MKCharMove(char* to, const char* from, size_t n) { memmove(to, from, n); }
inline void MKCharSet(char* to, char c, size_t n) { memset(to, c, n); }
inline const char* MKCharFind(const char* text, char c, size_t n) { return static_cast<const char*>(memchr(text, c, n)); }
inline int MKCharCompare(const char* a, const char* b, size_t n) { return memcmp(a, b, n); }
inline int MKCharStrCompare(const char* a, const char* b) { return strcmp(a, b); }
inline size_t MKCharSpan(const char* text, const char* set) { return strcspn(text, set); }
inline bool MKCharIsSpace(char c) { return isspace(static_cast<unsigned char>(c)) != 0; }
#else
inline size_t MKCharLength(const wchar_t* text) { return wcslen(text); }
inline size_t MKCharLengthMax(const wchar_t* text, size_t n) { return wcsnlen(text, n); }
inline void MKCharCopy(wchar_t* to, const wchar_t* from, size_t n) { wmemcpy(to, from, n); }
inline void MKCharMove(wchar_t* to, const wchar_t* from, size_t n) { wmemmove(to, from, n); }
inline void MKCharSet(wchar_t* to, wchar_t c, size_t n) { wmemset(to, c, n); }
inline const wchar_t* MKCharFind(const wchar_t* text, wchar_t c, size_t n) { return wmemchr(text, c, n); }
inline int MKCharCompare(const wchar_t* a, const wchar_t* b, size_t n) { return wmemcmp(a, b, n); }
inline int MKCharStrCompare(const wchar_t* a, const wchar_t* b) { return wcscmp(a, b); }
inline size_t MKCharSpan(const wchar_t* text, const wchar_t* set) { return wcscspn(text, set); }
inline bool MKCharIsSpace(wchar_t c) { return iswspace(c) != 0; }
#endif
