#include "controls/drop_target.h"

#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "controls/drop_rules.h"
#include "win/fatal.h"
#include "win/system_proc.h"

static_assert(DropEffect::Copy == DROPEFFECT_COPY && DropEffect::Move == DROPEFFECT_MOVE &&
              DropEffect::Link == DROPEFFECT_LINK && kKeyShift == MK_SHIFT && kKeyControl == MK_CONTROL);

namespace {

FORMATETC FormatOf(CLIPFORMAT format)
{
    return {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool Offers(IDataObject* data, CLIPFORMAT format)
{
    FORMATETC f = FormatOf(format);
    return format != 0 && data->QueryGetData(&f) == S_OK;
}

// The text of a global memory block, up to its first NUL and never past its size; none
// when the block cannot be read.
std::optional<std::string> GlobalText(HGLOBAL memory)
{
    const SIZE_T size = GlobalSize(memory);
    const char* bytes = static_cast<const char*>(GlobalLock(memory));
    if (!bytes)
        return std::nullopt;
    SIZE_T length = 0;
    while (length < size && bytes[length] != '\0')
        ++length;
    std::string text(bytes, length);
    GlobalUnlock(memory);
    return text;
}

// Gets one format and hands its global memory block to `use`, which says whether it could
// read it. A reply in another medium, or with no block, is no data. The medium is
// released in every case.
template <class F> bool WithData(IDataObject* data, CLIPFORMAT format, F use)
{
    FORMATETC f = FormatOf(format);
    STGMEDIUM medium = {};
    if (format == 0 || data->GetData(&f, &medium) != S_OK)
        return false;
    const bool read = medium.tymed == TYMED_HGLOBAL && medium.hGlobal && use(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return read;
}

}  // namespace

class DropTarget::Target final : public IDropTarget {
public:
    explicit Target(DropTarget* control) : control_(control) {}
    void Detach() { control_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // The methods are called from the system's code: no exception may unwind through them.
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect) override
    {
        acceptable_ = false;
        return Guarded(
            [&] {
                if (control_ && data) {
                    const DropTarget& c = *control_;
                    acceptable_ =
                        (c.acceptText && Offers(data, CF_TEXT)) || (c.acceptFiles && Offers(data, CF_HDROP));
                }
                ApplyRule(keys, effect);
                return S_OK;
            },
            E_UNEXPECTED);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL, DWORD* effect) override
    {
        ApplyRule(keys, effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        acceptable_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL, DWORD* effect) override
    {
        Guarded(
            [&] {
                if (ApplyRule(keys, effect) && control_ && data)
                    Deliver(data);
                return 0;
            },
            0);
        acceptable_ = false;
        // The source is told the drop did not happen in every case, so that it never
        // deletes what it dragged.
        return E_FAIL;
    }

private:
    // Writes the effect back; true when it is not "none".
    bool ApplyRule(DWORD keys, DWORD* effect)
    {
        const DWORD allowed = effect ? *effect : 0;
        const DWORD chosen = DropEffectRule(acceptable_, keys, allowed);
        if (effect)
            *effect = chosen;
        return chosen != DROPEFFECT_NONE;
    }

    // Each kind the control takes and the data gives, in order; a handler runs for each.
    void Deliver(IDataObject* data)
    {
        // Text that comes with HTML (a selection in a web page) is not taken.
        if (control_ && control_->acceptText && !Offers(data, control_->htmlFormat_)) {
            std::optional<std::string> text;
            if (WithData(data, CF_TEXT,
                         [&](HGLOBAL m) {
                             text = GlobalText(m);
                             return text.has_value();
                         }) &&
                control_)
                control_->Raise(Event::TextDropped, *text);
        }
        if (control_ && control_->acceptFiles) {
            std::vector<std::string> paths;
            const bool got = WithData(data, CF_HDROP, [&](HGLOBAL m) {
                auto* query = SYSTEM_PROC("shell32.dll", DragQueryFileA);
                if (!query)
                    return false;
                HDROP drop = static_cast<HDROP>(m);
                const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
                for (UINT i = 0; i < count; ++i) {
                    const UINT length = query(drop, i, nullptr, 0);
                    std::string path(length + 1, '\0');
                    path.resize(query(drop, i, path.data(), length + 1));
                    paths.push_back(path);
                }
                return true;
            });
            if (got && control_)
                control_->Raise(Event::FilesDropped, JoinDroppedPaths(paths));
        }
    }

    LONG references_ = 1;
    DropTarget* control_;  // not owned; null once the control is gone
    bool acceptable_ = false;
};

DropTarget::DropTarget() : target_(new Target(this))
{
}

DropTarget::~DropTarget()
{
    Destroy();
    target_->Detach();
    target_->Release();
}

bool DropTarget::Create(const CreateArgs& args)
{
    htmlFormat_ = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("HTML Format"));
    return InvisibleControl::Create(args);
}

bool DropTarget::RegisterDropWindow(HWND window)
{
    if (registered_)
        return false;
    registered_ = window;
    registrationLive_ = RegisterDragDrop(window, target_) == S_OK;
    return registrationLive_;
}

IDropTarget* DropTarget::Object() const
{
    return target_;
}

LRESULT DropTarget::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY && registrationLive_) {
        // Destroyed with the window it serves, which still exists at this point.
        RevokeDragDrop(registered_);
        registrationLive_ = false;
    }
    return Default(msg, wp, lp);
}
