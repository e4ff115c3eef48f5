#pragma once
#include "base/MKString.h"

// The text side of the calls between the add-in and its effect movies through
// the Flash control's ExternalInterface: the requests the add-in sends and
// the parts of the movie's requests it reads. Plain text work; numbers are
// written the same whatever the user's locale.
namespace ExternalInterfaceProtocol {

// "<invoke name="NAME" returntype="xml"><arguments>ARGUMENTS</arguments></invoke>"
MKString Invoke(const wchar_t* name, const MKString& arguments);
// The movie's resize call with the pixel and logical sizes.
MKString OnResizeRequest(int pixelWidth, int pixelHeight, float width, float height);
MKString RefreshBackgroundRequest();
MKString OnAxVisibleChangedRequest(bool visible);

// A size as the movie reads it: "%g" of the value itself (six significant
// digits, so 133.7f stays "133.7"), "." as the decimal point.
MKString FormatNumber(float value);

// The name a movie's request invokes: false unless the request starts with
// exactly `<invoke name="` and the name is closed by a double quote.
bool ParseInvokedName(const MKString& request, MKString& name);
// The truth of the first argument element: `<number>` other than 0, or
// `<true/>`; false for anything else or no argument.
bool ParseFirstArgumentTrue(const MKString& request);
// The text of the first `<string>` element, one level of XML entities
// decoded; false when there is none or it is empty.
bool ParseStringArgument(const MKString& request, MKString& text);
// Replaces the five XML entities by their characters (one level: "&amp;lt;"
// gives "&lt;"); any other "&" stays.
MKString DecodeXmlText(const MKString& text);

}  // namespace ExternalInterfaceProtocol
