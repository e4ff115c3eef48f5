// The control's IPersistStreamInit: the whole stream is one control record
// (ControlStreamRecord.h).
#include "slidecontrol/FOfficeDoc.h"

#include "base/MKStreamErrors.h"
#include "slidecontrol/ControlStreamRecord.h"
#include "slidecontrol/MKIStreamInStream.h"
#include "slidecontrol/MKIStreamOutStream.h"
#include "slidecontrol/PlovapointModule.h"

namespace {

HRESULT LoadFailure(int code)
{
    switch (code) {
    case MKStreamErrorNoMemory:
        return E_OUTOFMEMORY;
    case MKStreamErrorEnd:
        return HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);
    default:
        return STG_E_INVALIDHEADER;
    }
}

}  // namespace

HRESULT FOfficeDoc::Load(IStream* stream)
{
    if (!stream)
        return E_POINTER;
    return PlovapointModule::Guard([&] {
        m_bFresh = false;
        MKIStreamInStream input(stream);
        ControlRecordLoad load;
        int failure = ReadControlRecord(input, m_properties, load);
        // A record without movie bytes keeps the header fields it had.
        if (load.hasMovieBytes)
            m_header = load.header;
        DropSnapshot();
        // A rejected record is not searched for an extent.
        if (load.extentRead) {
            SIZEL extent = {load.extent.cx, load.extent.cy};
            static_cast<IOleObject*>(this)->SetExtent(DVASPECT_CONTENT, &extent);
        }
        if (failure != 0)
            return LoadFailure(failure);
        SetDirty(false);
        return S_OK;
    });
}

HRESULT FOfficeDoc::Save(IStream* stream, BOOL clearDirty)
{
    if (!stream)
        return E_POINTER;
    return PlovapointModule::Guard([&] {
        MKIStreamOutStream output(stream);
        ControlExtent extent;
        extent.cx = Extent().cx;
        extent.cy = Extent().cy;
        int failure = WriteControlRecord(output, m_properties, extent);
        if (failure == MKStreamErrorMediumFull)
            return HRESULT(STG_E_MEDIUMFULL);
        if (failure != 0)
            return HRESULT(E_OUTOFMEMORY);
        if (clearDirty)
            SetDirty(false);
        return S_OK;
    });
}
