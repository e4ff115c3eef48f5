#pragma once

// Number texts of typed text documents.

// Reads n bytes of the form [-]digits[.digits][(e|E)[+|-]digits] (stopping at
// the first byte that does not fit) in extended precision and rounds the
// result to a double. False, with *value 0, when the result is not finite.
bool MKDocReadFloat(const char* text, int n, double* value);
