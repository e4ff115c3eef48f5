#include "player/app/PVMovieProperties.h"

#include <stdlib.h>
#include <string.h>

MKString PVFormatDuration(int frameCount, float rate, const char* hoursFormat, const char* minutesFormat,
                          const char* secondsFormat)
{
    int seconds = rate > 0 ? int(double(frameCount) / double(rate) + 0.5) : 1;
    if (seconds < 1)
        seconds = 1;
    MKString text;
    if (int hours = seconds / 3600) {
        text.AppendString(MKString::FromFormat(hoursFormat, hours));
        text.AppendText(" ");
    }
    if (int minutes = seconds % 3600 / 60) {
        text.AppendString(MKString::FromFormat(minutesFormat, minutes));
        text.AppendText(" ");
    }
    if (int rest = seconds % 60)
        text.AppendString(MKString::FromFormat(secondsFormat, rest));
    return text;
}

MKString PVFormatFileSize(int size)
{
    MKString digits = MKString::FromInt(size);
    MKString text;
    const int sign = size < 0 ? 1 : 0;
    const int count = digits.GetLength() - sign;
    text.Append(digits.GetText(), sign);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0)
            text.AppendText(" ");
        text.Append(digits.GetText() + sign + i, 1);
    }
    text.AppendText(" bytes");
    return text;
}

MKString PVFormatLocation(const char* path)
{
    char drive[_MAX_DRIVE] = "";
    char folder[_MAX_DIR] = "";
    _splitpath(path ? path : "", drive, folder, nullptr, nullptr);
    MKString text(drive);
    text.AppendText(folder);
    if (!text.IsEmpty())
        text.SetLength(text.GetLength() - 1);
    if (text.GetLength() > 0 && text[text.GetLength() - 1] == ':')
        text.AppendText("\\");
    return text;
}

MKString PVFormatFileName(const char* path)
{
    char name[_MAX_FNAME] = "";
    char extension[_MAX_EXT] = "";
    _splitpath(path ? path : "", nullptr, nullptr, name, extension);
    MKString text(name);
    text.AppendText(extension);
    return text;
}
