#pragma once
#include "addin/hosting/ControlHost.h"
#include "base/MKString.h"

#include <stdint.h>

struct IShockwaveFlash;

// One frame of a Flash movie as a picture, rendered by the Flash control
// without a window. Transparent backgrounds get their alpha from two draws,
// over black and over white; opaque pictures have alpha 255.
class MovieSnapshot : public ControlHost {
public:
    enum Background { Transparent = 1, Opaque = 2, OverColour = 3 };

    MovieSnapshot();
    ~MovieSnapshot() override;

    // Reaches a control already in place only when it is made again.
    void SetMovie(const MKString& path);
    // A frame below 0 leaves the control's current frame.
    void SetFrame(int frame) { m_frame = frame; }
    // Mode 3 puts the picture over the colour (straight alpha).
    void SetBackground(int mode, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
    // The control's interface with one reference, or null.
    IShockwaveFlash* GetFlash() const;

    // An Rgba picture of the frame at the extent, or null.
    RasterImage* Render() override;

protected:
    bool OnSiteCreated() override;
    const CLSID* GetControlClsid() override;
    HRESULT InvokeAmbient(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return S_OK;
    }
    // "C:\": relative addresses resolve against the drive of the virtual root.
    HRESULT GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT GetContainer(IOleContainer** container) override;
    HRESULT ShowObject() override { return S_OK; }
    HRESULT OnUIActivate() override { return S_OK; }
    HRESULT OnUIDeactivate(BOOL) override { return S_OK; }

private:
    MKString m_movie;
    int m_frame = -1;
    int m_mode = Transparent;
    uint8_t m_colour[4] = {};
};
