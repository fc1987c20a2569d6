#include "playertest/TestControl.h"

#include "platform/Messages.h"
#include "platform/Window.h"

namespace playertest {
namespace {

constexpr char16_t kClassId[] = u"{D27CDB6E-AE6D-11CF-96B8-444553540000}";

struct Operation {
    DISPID id;
    WORD kind;
    const char* name;
};

constexpr Operation kOperations[] = {
    {102, DISPATCH_PROPERTYPUT, "SetMovieUrl"},    {135, DISPATCH_PROPERTYPUT, "SetMenuEnabled"},
    {141, DISPATCH_PROPERTYPUT, "SetQualityName"}, {-525, DISPATCH_PROPERTYGET, "GetReadyState"},
    {124, DISPATCH_PROPERTYGET, "GetTotalFrames"}, {107, DISPATCH_PROPERTYGET, "GetFrameNumber"},
    {107, DISPATCH_PROPERTYPUT, "SetFrameNumber"}, {125, DISPATCH_PROPERTYGET, "GetPlaying"},
    {125, DISPATCH_PROPERTYPUT, "SetPlaying"},     {112, DISPATCH_METHOD, "PlayMovie"},
    {113, DISPATCH_METHOD, "StopMovie"},           {116, DISPATCH_METHOD, "RewindMovie"},
    {120, DISPATCH_PROPERTYGET, "GetScaleMode"},   {120, DISPATCH_PROPERTYPUT, "SetScaleMode"},
    {153, DISPATCH_METHOD, "SetClipProperty"},     {157, DISPATCH_METHOD, "SetClipPropertyNumber"},
};

const Operation* Find(DISPID id, WORD kind) {
    for (const Operation& operation : kOperations) {
        if (operation.id == id && operation.kind == kind) {
            return &operation;
        }
    }
    return nullptr;
}

class TestControl : public HostedControl {
public:
    explicit TestControl(std::shared_ptr<ControlScript> script) : script(std::move(script)) {}

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_LBUTTONDOWN) {
            ++script->presses;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HRESULT Invoke(DISPID id, WORD kind, std::span<const Variant> args, Variant& result) override {
        if (Find(id, kind) == nullptr) {
            return DISP_E_MEMBERNOTFOUND;
        }
        ControlScript& s = *script;
        LONG number = 0;
        bool flag = false;
        switch (kind) {
        case DISPATCH_PROPERTYGET:
            result = id == -525  ? Variant::Int(s.readyState)
                     : id == 124 ? Variant::Int(s.totalFrames)
                     : id == 107 ? Variant::Int(s.frameNumber)
                     : id == 125 ? Variant::Bool(s.playing)
                                 : Variant::Int(s.scaleMode);
            return S_OK;
        case DISPATCH_PROPERTYPUT:
            if (args.empty()) {
                return DISP_E_BADPARAMCOUNT;
            }
            if (id == 102) {
                args.back().ToText(s.url);
            } else if (id == 107 && args.back().ToInt(number)) {
                s.frameNumber = number;
            } else if (id == 125 && args.back().ToBool(flag)) {
                s.playing = flag;
            } else if (id == 120 && args.back().ToInt(number)) {
                s.scaleMode = number;
            }
            return S_OK;
        default:
            if (id == 112) {
                s.playing = true;
            } else if (id == 113) {
                s.playing = false;
            } else if (id == 116) {
                s.frameNumber = 0;
            }
            return S_OK;
        }
    }

    const char* OperationName(DISPID id, WORD kind) const override {
        const Operation* operation = Find(id, kind);
        return operation != nullptr ? operation->name : nullptr;
    }

    std::string StateJson() const override { return "{}"; }

private:
    std::shared_ptr<ControlScript> script;
};

} // namespace

void InstallTestControl(std::shared_ptr<ControlScript> script) {
    RegisterControlClass(kClassId, [script] {
        ++script->created;
        return std::make_unique<TestControl>(script);
    });
}

} // namespace playertest
