// The common controls, loaded at their first use.
#include "ui/Library.h"

#include "ui/Window.h"

namespace ui {

const CommonControls& Comctl32() {
  static const CommonControls functions = [] {
    const char* dll = "comctl32.dll";
    CommonControls f{LibraryFunction<decltype(f.Create)>(dll, "ImageList_Create"),
                     LibraryFunction<decltype(f.AddMasked)>(dll, "ImageList_AddMasked"),
                     LibraryFunction<decltype(f.ReplaceIcon)>(dll, "ImageList_ReplaceIcon"),
                     LibraryFunction<decltype(f.GetImageCount)>(dll, "ImageList_GetImageCount"),
                     LibraryFunction<decltype(f.Draw)>(dll, "ImageList_Draw"),
                     LibraryFunction<decltype(f.GetIcon)>(dll, "ImageList_GetIcon"),
                     LibraryFunction<decltype(f.Destroy)>(dll, "ImageList_Destroy")};
    const auto init = LibraryFunction<decltype(&InitCommonControlsEx)>(dll, "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                       ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_HOTKEY_CLASS};
    if (init) init(&classes);
    return f;
  }();
  const CommonControls& f = functions;
  if (!f.Create || !f.AddMasked || !f.ReplaceIcon || !f.GetImageCount || !f.Draw || !f.GetIcon || !f.Destroy)
    RaiseLastOSError();
  return functions;
}

}  // namespace ui
