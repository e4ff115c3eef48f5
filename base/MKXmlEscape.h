#pragma once
#include "base/MKString.h"

// The text made safe for XML element content and attribute values: < > " ' &
// become entity references; tab, line feed and carriage return become character
// references (so attribute values keep them); characters that XML 1.0 cannot
// carry at all (other control characters, lone surrogates, U+FFFE, U+FFFF)
// become U+FFFD. A text that needs none of this is answered as the same shared
// string. When memory runs out the answer is the empty string.
MKString MKXmlEscape(const MKString& text);
