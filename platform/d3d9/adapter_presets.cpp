// Adapter profiles for tests, built from the software device's description and then bent.
#include "d3d9/adapter_presets.h"

namespace d3d9::presets {

namespace {

std::vector<D3DDISPLAYMODE> ModesFrom640(D3DFORMAT format, std::initializer_list<UINT> rates) {
    static const UINT sizes[][2] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}};
    std::vector<D3DDISPLAYMODE> modes;
    for (const auto& size : sizes)
        for (UINT rate : rates) modes.push_back({size[0], size[1], rate, format});
    return modes;
}

DeviceTypeProfile TypicalHal() {
    DeviceTypeProfile hal = SoftwareDeviceType(D3DDEVTYPE_HAL);
    hal.caps.PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    hal.depthFormats = {{D3DFMT_D16, {}}, {D3DFMT_D24S8, {}}};
    hal.multisample = {{D3DMULTISAMPLE_2_SAMPLES, 3, {}},
                       {D3DMULTISAMPLE_4_SAMPLES, 2,
                        {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5,
                         D3DFMT_D24S8}}};
    return hal;
}

DeviceTypeProfile TypicalRef() {
    DeviceTypeProfile ref = SoftwareDeviceType(D3DDEVTYPE_REF);
    ref.caps.PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    ref.depthFormats = {{D3DFMT_D16, {}}, {D3DFMT_D24S8, {}}};
    return ref;
}

AdapterProfile TypicalAdapter(const std::string& description) {
    AdapterProfile adapter;
    adapter.description = description;
    adapter.desktop = D3DDISPLAYMODE{1024, 768, 85, D3DFMT_X8R8G8B8};
    adapter.modes[D3DFMT_X8R8G8B8] = ModesFrom640(D3DFMT_X8R8G8B8, {60, 85});
    adapter.modes[D3DFMT_R5G6B5] = ModesFrom640(D3DFMT_R5G6B5, {60});
    return adapter;
}

Profile With(AdapterProfile adapter) {
    Profile profile;
    profile.adapters.push_back(std::move(adapter));
    return profile;
}

}  // namespace

Profile OneHalTypical() {
    AdapterProfile adapter = TypicalAdapter("Typical HAL adapter");
    adapter.devices[D3DDEVTYPE_HAL] = TypicalHal();
    return With(adapter);
}

Profile RefOnly() {
    AdapterProfile adapter = TypicalAdapter("Reference adapter");
    adapter.devices[D3DDEVTYPE_REF] = TypicalRef();
    return With(adapter);
}

Profile HalPlusRefHalFails() {
    AdapterProfile adapter = TypicalAdapter("Adapter whose HAL device cannot be created");
    adapter.devices[D3DDEVTYPE_HAL] = TypicalHal();
    adapter.devices[D3DDEVTYPE_HAL].createResult = D3DERR_NOTAVAILABLE;
    adapter.devices[D3DDEVTYPE_REF] = TypicalRef();
    return With(adapter);
}

Profile TwoAdaptersFirstUnusable() {
    AdapterProfile small = TypicalAdapter("Small adapter");
    small.desktop = D3DDISPLAYMODE{639, 480, 60, D3DFMT_X8R8G8B8};
    small.modes.clear();
    small.modes[D3DFMT_X8R8G8B8] = {{639, 480, 60, D3DFMT_X8R8G8B8}, {640, 479, 60, D3DFMT_X8R8G8B8}};
    small.devices[D3DDEVTYPE_HAL] = TypicalHal();
    AdapterProfile second = TypicalAdapter("Second adapter");
    second.deviceName = "\\\\.\\DISPLAY2";
    second.devices[D3DDEVTYPE_HAL] = TypicalHal();
    Profile profile;
    profile.adapters = {small, second};
    return profile;
}

Profile SwCapsFail() {
    AdapterProfile adapter = TypicalAdapter("Adapter without a software device");
    adapter.devices[D3DDEVTYPE_HAL] = TypicalHal();
    adapter.devices[D3DDEVTYPE_SW] = TypicalRef();
    adapter.devices[D3DDEVTYPE_SW].capsAvailable = false;
    adapter.devices[D3DDEVTYPE_REF] = TypicalRef();
    return With(adapter);
}

Profile DesktopFormatWithoutWindowed() {
    AdapterProfile adapter = TypicalAdapter("Full-screen-only adapter");
    DeviceTypeProfile hal = TypicalHal();
    std::vector<BackBufferRule> fullScreenOnly;
    for (BackBufferRule rule : hal.backBuffers)
        if (rule.fullScreen) {
            rule.windowed = false;
            fullScreenOnly.push_back(rule);
        }
    hal.backBuffers = fullScreenOnly;
    adapter.devices[D3DDEVTYPE_HAL] = hal;
    return With(adapter);
}

Profile NothingUsable() {
    AdapterProfile adapter = TypicalAdapter("Unusable adapter");
    adapter.devices[D3DDEVTYPE_HAL] = TypicalHal();
    adapter.devices[D3DDEVTYPE_HAL].backBuffers.clear();
    return With(adapter);
}

Profile NullReference() {
    AdapterProfile adapter = TypicalAdapter("Null reference adapter");
    adapter.devices[D3DDEVTYPE_REF] = TypicalRef();
    adapter.devices[D3DDEVTYPE_REF].caps.PrimitiveMiscCaps |= D3DPMISCCAPS_NULLREFERENCE;
    return With(adapter);
}

Profile DesktopNotListed() {
    AdapterProfile adapter = TypicalAdapter("Adapter with an unlisted desktop");
    adapter.modes.clear();
    adapter.modes[D3DFMT_X8R8G8B8] = {{640, 480, 60, D3DFMT_X8R8G8B8},
                                      {1024, 600, 60, D3DFMT_X8R8G8B8},
                                      {1024, 768, 60, D3DFMT_X8R8G8B8}};
    adapter.devices[D3DDEVTYPE_HAL] = TypicalHal();
    return With(adapter);
}

}  // namespace d3d9::presets
