#pragma once
// comctl32, loaded when the first control of a system class or image list needs it: a program
// that shows only windows of its own classes (the meter strip alone) does not pay for it. It is
// loaded by name, so that the manifest's side-by-side entry picks version 6 where Windows has it,
// and stays loaded until the process ends (windows of its classes may live that long).
#include <windows.h>

#include <commctrl.h>

namespace zq {

struct TComctl32 {
    decltype(&ImageList_Create) ImageListCreate;
    decltype(&ImageList_Destroy) ImageListDestroy;
    decltype(&ImageList_GetImageCount) ImageListGetImageCount;
    decltype(&ImageList_Add) ImageListAdd;
    decltype(&ImageList_AddMasked) ImageListAddMasked;
    decltype(&ImageList_ReplaceIcon) ImageListReplaceIcon;
    decltype(&ImageList_GetIcon) ImageListGetIcon;
    decltype(&ImageList_Draw) ImageListDraw;
};

// The library's functions; the first call loads it and registers the window classes of the
// toolkit's common controls. Throws an Exception where the library or one of them is missing.
const TComctl32& Comctl32();

// Frees an image list made through Comctl32(); does nothing for nullptr.
void DestroyImageList(HIMAGELIST list) noexcept;

} // namespace zq
