#include "base/MKDefaultFont.h"

#include <wchar.h>

MKDefaultFont::MKDefaultFont() : font{}
{
    font.lfHeight = -10;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    wcscpy(font.lfFaceName, L"Arial");
}
