#pragma once
#include "base/MKTArray.h"

#include <stdint.h>
#include <string>
#include <vector>

class ValueTree;

namespace webmsg {

using Bytes = std::vector<uint8_t>;

// A file that tests/fixtures/web_message.py made (build/fixtures/webmsg).
Bytes ReadFixture(const wchar_t* name);
Bytes ToBytes(const MKByteArray& array);
Bytes FromText(const std::string& text);
Bytes FromHex(const std::string& hex);

// The oracle's SAMPLE tree, with one reference for the caller:
// name = "Café <1> & \"2\" 'x'\t€", list = {x = "", deep = {y = "z"}}, b = "v".
ValueTree* SampleTree();
// The tree's binary form.
Bytes BinaryOf(const ValueTree* tree);
// The payload of a query text: URL-safe base-64 of an envelope of the query key.
bool DecodeQueryText(const std::wstring& text, Bytes* payload);

}  // namespace webmsg
