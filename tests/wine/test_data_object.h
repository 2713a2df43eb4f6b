#pragma once
#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

// A data object as another program's drag offers it: formats given as raw bytes.
class TestDataObject : public IDataObject {
public:
    void Offer(CLIPFORMAT format, std::string bytes) { formats_[format] = std::move(bytes); }
    void OfferText(const std::string& text) { Offer(CF_TEXT, text + std::string(1, '\0')); }
    void OfferFiles(const std::vector<std::string>& paths)
    {
        std::string block(sizeof(DROPFILES), '\0');
        auto* header = reinterpret_cast<DROPFILES*>(block.data());
        header->pFiles = sizeof(DROPFILES);
        header->fWide = FALSE;
        for (const std::string& path : paths)
            block += path + std::string(1, '\0');
        block += std::string(1, '\0');
        Offer(CF_HDROP, block);
    }
    int getDataCalls = 0;
    // How GetData answers: with global memory (as it should), with the bytes in a stream,
    // or with global memory whose handle is null.
    enum class Reply { Global, Stream, NullHandle } reply = Reply::Global;
    // The last stream handed out, with a reference of the test's own.
    IStream* lastStream = nullptr;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // lives on the test's stack

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        ++getDataCalls;
        auto it = formats_.find(format->cfFormat);
        if (it == formats_.end() || !(format->tymed & TYMED_HGLOBAL))
            return DV_E_FORMATETC;
        medium->pUnkForRelease = nullptr;
        if (reply == Reply::NullHandle) {
            medium->tymed = TYMED_HGLOBAL;
            medium->hGlobal = nullptr;
            return S_OK;
        }
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, it->second.size());
        std::memcpy(GlobalLock(memory), it->second.data(), it->second.size());
        GlobalUnlock(memory);
        if (reply == Reply::Stream) {
            IStream* stream = nullptr;
            CreateStreamOnHGlobal(memory, TRUE, &stream);
            if (lastStream)
                lastStream->Release();
            stream->AddRef();
            lastStream = stream;
            medium->tymed = TYMED_ISTREAM;
            medium->pstm = stream;
            return S_OK;
        }
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        return formats_.count(format->cfFormat) && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override
    {
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        std::vector<FORMATETC> list;
        for (const auto& [format, bytes] : formats_)
            list.push_back({format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(list.size()), list.data(), out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::map<CLIPFORMAT, std::string> formats_;
    ULONG references_ = 1;
};
