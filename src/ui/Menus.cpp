// Popup menus: building, standard owner drawing and command dispatch.
#include "ui/Menus.h"

#include <algorithm>
#include <deque>
#include <map>
#include <oleacc.h>

#include "ui/Application.h"
#include "ui/Dpi.h"
#include "ui/Font.h"
#include "ui/ImageList.h"
#include "ui/Win32Handle.h"
#include "ui/Window.h"

namespace ui {

std::function<std::string(unsigned)> TMenuItem::ShortCutText;

namespace {

std::map<UINT, TMenuItem*>& Commands() {
  static std::map<UINT, TMenuItem*> commands;
  return commands;
}

// The application window's message that clicks the oldest item in Posted().
// It carries nothing, and a WM_COMMAND clicks nothing: another process can
// choose no item that the user or the program did not choose.
constexpr UINT kPostedClick = WM_APP;
std::deque<UINT>& Posted() {
  static std::deque<UINT> posted;
  return posted;
}

// The system's menu font at `dpi`: the system gives it at its own dpi, and
// the font cache scales a design height from 96.
HFONT MenuFont(int dpi) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  TFont font;
  font.name = metrics.lfMenuFont.lfFaceName;
  font.height = MulDiv(metrics.lfMenuFont.lfHeight, kDesignDpi, SystemDpi());
  return FontHandle(font, dpi);
}

// Design lengths, at 96 dpi.
constexpr int kImage = 16;
constexpr int kImageArea = 22;  // the image with its margins
constexpr int kTextGap = 6, kRightGap = 8, kShortCutGap = 24, kMinHeight = 20, kSeparator = 8;

}  // namespace

TMenuItem::TMenuItem(TComponent* owner, TPopupMenu& menu) : TComponent(owner), menu_(menu) {
  static UINT next = 1;
  command_ = next++;
  Commands()[command_] = this;
  menu_.items_.push_back(this);
}

TMenuItem::~TMenuItem() {
  Commands().erase(command_);
  auto& items = menu_.items_;
  items.erase(std::remove(items.begin(), items.end(), this), items.end());
}

void TMenuItem::SetCommand(UINT command) {
  Commands().erase(command_);
  command_ = command;
  Commands()[command_] = this;
}

TMenuItem* TMenuItem::FromCommand(UINT command) {
  auto it = Commands().find(command);
  return it == Commands().end() ? nullptr : it->second;
}

void TMenuItem::Click() {
  if (!enabled) return;
  if (autoCheck) checked = !checked;
  Fire(OnClick, *this);
}

void TMenuItem::PostClick() const {
  Posted().push_back(command_);
  PostMessageA(TPopupMenu::OwnerWindow(), kPostedClick, 0, 0);
}

SIZE TMenuItem::MeasureStandard(HDC dc) const {
  const int dpi = menu_.Dpi();
  if (caption == "-") return {Scaled(kImageArea, dpi), Scaled(kSeparator, dpi)};
  SelectedObject font(dc, MenuFont(dpi));
  SIZE text{}, keys{};
  const std::wstring wide = Wide(caption);
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &text);
  const std::wstring shortCutText = Wide(shortCut && ShortCutText ? ShortCutText(shortCut) : std::string());
  if (!shortCutText.empty())
    GetTextExtentPoint32W(dc, shortCutText.c_str(), static_cast<int>(shortCutText.size()), &keys);
  const int height = std::max<int>(text.cy + Scaled(kTextGap, dpi), Scaled(kMinHeight, dpi));
  return {Scaled(kImageArea + kTextGap, dpi) + text.cx + (keys.cx ? Scaled(kShortCutGap, dpi) + keys.cx : 0) +
              Scaled(kRightGap, dpi),
          height};
}

void TMenuItem::DrawStandard(HDC dc, const RECT& r, UINT state) const {
  const int dpi = menu_.Dpi();
  const bool selected = (state & ODS_SELECTED) != 0;
  const bool grayed = !enabled || (state & (ODS_GRAYED | ODS_DISABLED | ODS_INACTIVE)) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (caption == "-") {
    RECT line{r.left + Scaled(kImageArea, dpi), (r.top + r.bottom) / 2 - 1, r.right, r.bottom};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const int image = Scaled(kImage, dpi), margin = Scaled(2, dpi);
  const int imageX = r.left + Scaled(3, dpi), imageY = (r.top + r.bottom - image) / 2;
  if (checked) {
    RECT box{imageX - margin, imageY - margin, imageX + image + margin, imageY + image + margin};
    if (imageIndex < 0 || !menu_.images) {
      DrawFrameControl(dc, &box, DFC_MENU, DFCS_MENUCHECK);
    } else {
      DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
    }
  }
  if (menu_.images) menu_.images->Draw(dc, imageX, imageY, imageIndex, !grayed || selected, dpi);
  SelectedObject font(dc, MenuFont(dpi));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(grayed ? COLOR_GRAYTEXT
                               : selected ? COLOR_HIGHLIGHTTEXT
                                          : COLOR_MENUTEXT));
  RECT text{r.left + Scaled(kImageArea + kTextGap, dpi), r.top, r.right - Scaled(kRightGap, dpi), r.bottom};
  const std::wstring wide = Wide(caption);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &text, DT_SINGLELINE | DT_VCENTER);
  if (shortCut && ShortCutText) {
    const std::wstring keys = Wide(ShortCutText(shortCut));
    DrawTextW(dc, keys.c_str(), static_cast<int>(keys.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner) {}

TPopupMenu::~TPopupMenu() = default;

HWND TPopupMenu::OwnerWindow() { return Application().Handle(); }

bool TPopupMenu::OwnerMessage(UINT msg, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case kPostedClick: {
      if (Posted().empty()) return false;
      // An item removed since has no command any more.
      TMenuItem* item = TMenuItem::FromCommand(Posted().front());
      Posted().pop_front();
      if (item) item->Click();
      result = 0;
      return true;
    }
    // Items are found by their command number, never through itemData:
    // another program may send these with any value there.
    case WM_MEASUREITEM: {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      TMenuItem* item = m->CtlType == ODT_MENU ? TMenuItem::FromCommand(m->itemID) : nullptr;
      if (!item) return false;
      const WindowDC dc(OwnerWindow());
      const SIZE size = item->MeasureStandard(dc.get());
      int width = size.cx, height = size.cy;
      Fire(item->OnMeasureItem, *item, dc.get(), width, height);
      m->itemWidth = width;
      m->itemHeight = height;
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      TMenuItem* item = d->CtlType == ODT_MENU ? TMenuItem::FromCommand(d->itemID) : nullptr;
      if (!item) return false;
      if (item->OnAdvancedDrawItem)
        item->OnAdvancedDrawItem(*item, d->hDC, d->rcItem, d->itemState);
      else
        item->DrawStandard(d->hDC, d->rcItem, d->itemState);
      result = TRUE;
      return true;
    }
  }
  return false;
}

void TPopupMenu::Notification(TComponent& removed) {
  if (images == &removed) images = nullptr;
}

std::wstring TMenuItem::AccessibleName() const {
  return Wide(shortCut && ShortCutText ? caption + "\t" + ShortCutText(shortCut) : caption);
}

void TPopupMenu::Popup(int x, int y) {
  dpi_ = PointDpi({x, y});
  const unique_hmenu menu(CreatePopupMenu());
  // A screen reader names an owner-drawn item from the MSAAMENUINFO at the
  // head of its data, read while the menu is open.
  struct AccessibleItem {
    MSAAMENUINFO info;
    std::wstring name;
  };
  std::vector<AccessibleItem> names;
  names.reserve(items_.size());
  UINT position = 0;
  for (TMenuItem* item : items_) {
    if (!item->visible) continue;
    AccessibleItem& named = names.emplace_back(AccessibleItem{{MSAA_MENU_SIG, 0, nullptr}, item->AccessibleName()});
    named.info.cchWText = static_cast<DWORD>(named.name.size());
    named.info.pszWText = named.name.data();
    // Separators too carry their command number, which AppendMenu would drop.
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    info.fType = MFT_OWNERDRAW | (item->caption == "-" ? MFT_SEPARATOR : 0);
    info.fState = (item->checked ? MFS_CHECKED : 0) | (item->enabled ? 0 : MFS_GRAYED);
    info.wID = item->Command();
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&named.info);
    InsertMenuItemA(menu.get(), position++, TRUE, &info);
  }
  // The chosen item comes back here, not as a WM_COMMAND that any process
  // could post; it is clicked once the menu's caller has returned.
  const UINT chosen = TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0,
                                     OwnerWindow(), nullptr);
  if (TMenuItem* item = TMenuItem::FromCommand(chosen)) item->PostClick();
}

}  // namespace ui
