// Another program that drags onto the window: drag_source.exe X Y text TEXT
//                                              drag_source.exe X Y files PATH...
// It puts the pointer at (X, Y), starts an OLE drag there and lets go after a few
// rounds of the drag loop. Exits with the effect the target reported.
#include <windows.h>

#include <ole2.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "test_data_object.h"

namespace {

class Source : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
            *object = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override
    {
        if (escape)
            return DRAGDROP_S_CANCEL;
        Sleep(30);
        return ++rounds_ < 10 ? S_OK : DRAGDROP_S_DROP;  // the button goes up
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    int rounds_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    OleInitialize(nullptr);
    SetCursorPos(std::atoi(argv[1]), std::atoi(argv[2]));
    TestDataObject data;
    const std::string kind = argv[3];
    if (kind == "text") {
        data.OfferText(argv[4]);
    } else {
        std::vector<std::string> paths(argv + 4, argv + argc);
        data.OfferFiles(paths);
    }
    Source source;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    OleUninitialize();
    return result == DRAGDROP_S_DROP ? static_cast<int>(effect) + 10 : 1;
}
