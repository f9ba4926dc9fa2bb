#include "toolkit/Comctl32.h"

#include "toolkit/Exceptions.h"
#include "toolkit/SystemProc.h"

namespace zq {

namespace {

const TComctl32* gLoaded = nullptr;

template <typename F> void Require(HMODULE module, const char* name, F& slot) {
    slot = ProcAddress<F>(module, name);
    if (slot == nullptr)
        throw Exception(std::string("comctl32.dll has no ") + name);
}

TComctl32 Load() {
    HMODULE module = LoadLibraryA("comctl32.dll");
    if (module == nullptr)
        throw Exception("Cannot load comctl32.dll");
    TComctl32 api{};
    Require(module, "ImageList_Create", api.ImageListCreate);
    Require(module, "ImageList_Destroy", api.ImageListDestroy);
    Require(module, "ImageList_GetImageCount", api.ImageListGetImageCount);
    Require(module, "ImageList_Add", api.ImageListAdd);
    Require(module, "ImageList_AddMasked", api.ImageListAddMasked);
    Require(module, "ImageList_ReplaceIcon", api.ImageListReplaceIcon);
    Require(module, "ImageList_GetIcon", api.ImageListGetIcon);
    Require(module, "ImageList_Draw", api.ImageListDraw);
    // Windows 95 without a later comctl32 has only the older registration of every class.
    using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (auto initEx = ProcAddress<InitEx>(module, "InitCommonControlsEx")) {
        const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES |
                                                       ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                       ICC_PROGRESS_CLASS};
        initEx(&icc);
    } else if (auto init = ProcAddress<void(WINAPI*)()>(module, "InitCommonControls")) {
        init();
    }
    return api;
}

} // namespace

const TComctl32& Comctl32() {
    if (gLoaded == nullptr) {
        static const TComctl32 api = Load(); // a failed load is tried again next time
        gLoaded = &api;
    }
    return *gLoaded;
}

void DestroyImageList(HIMAGELIST list) noexcept {
    if (list != nullptr && gLoaded != nullptr)
        gLoaded->ImageListDestroy(list);
}

} // namespace zq
