// The tray icon's logic against a recording platform: the record handed to
// the shell, the IconIndex rules, the notifications and SingleTask.
#include "tray/TarvelTrayIcon.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Error.h"

namespace {

using Journal = std::vector<std::string>;

class FakePlatform : public tray::TrayPlatform {
 public:
  Journal journal;
  std::vector<tray::TNotifyIconDataA> records;
  std::function<void()> nested = [] {};  // a notification arriving while the menu opens

  std::unique_ptr<tray::TrayWindow> MakeWindow(tray::TCustomTarvelTrayIcon&) override {
    struct Window : tray::TrayWindow {
      Journal& journal;
      explicit Window(Journal& j) : journal(j) {}
      ~Window() override { journal.push_back("window gone"); }
      std::uint32_t WindowHandle() const override { return 0x4711; }
      std::intptr_t DefaultHandler(const tray::TMessage& m) override { return m.Msg + 1; }
    };
    return std::make_unique<Window>(journal);
  }
  void NotifyIcon(tray::NotifyIconMessage message, const tray::TNotifyIconDataA& data) override {
    journal.push_back(message == tray::NotifyIconMessage::Add ? "add"
                      : message == tray::NotifyIconMessage::Delete ? "delete" : "modify");
    records.push_back(data);
  }
  void ShowBalloon(const tray::TNotifyIconDataA&, const std::string&, const std::string&) override {}
  tray::TPoint CursorPos() override { return {640, 480}; }
  void ForegroundApplication() override { journal.push_back("foreground"); }
  void ProcessMessages() override { journal.push_back("process"), nested(); }
  void Popup(ui::TComponent&, int x, int y) override { journal.push_back("popup " + std::to_string(x + y)), nested(); }
  tray::IconHandle ImageListIcon(ui::TComponent&, int index) override {
    journal.push_back("image " + std::to_string(index));
    return 100 + index;
  }
  tray::IconHandle CopyIcon(tray::IconHandle icon) override { return icon + 1000; }
  void DestroyIcon(tray::IconHandle icon) override { journal.push_back("destroy " + std::to_string(icon)); }
};

// An icon owned as on a form, beside a component standing in for its menu or
// image list.
struct Owned {
  FakePlatform platform;
  ui::TComponent owner;
  ui::TComponent& companion = owner.Make<ui::TComponent>("companion");
  tray::TTarvelTrayIcon& icon = owner.Make<tray::TTarvelTrayIcon>("icon", platform);
};

std::intptr_t Notify(tray::TTarvelTrayIcon& icon, std::intptr_t mouse) {
  return icon.TrayWndProc({tray::TrayCallbackMessage, 0, mouse});
}

TEST(TarvelTrayIcon, AddIconFillsThe88ByteRecordWithTheTipCutAt63AndDestroyRemovesIt) {
  for (const std::size_t length : {0, 63, 64, 300}) {
    Owned o;
    auto& [platform, owner, companion, icon] = o;
    icon.SetTip(std::string(length, 'x'));
    EXPECT_EQ(platform.records.back().hWnd, 0u) << "before the first add the record names no window";
    icon.SetIcon(7);
    icon.SetActive(true);
    const tray::TNotifyIconDataA& r = platform.records.back();
    EXPECT_EQ(r.cbSize, 88u);
    EXPECT_EQ(r.hWnd, 0x4711u);
    EXPECT_EQ(r.uID, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&icon)));
    EXPECT_EQ(r.uFlags, 7u);
    EXPECT_EQ(r.uCallbackMessage, 8079u);
    EXPECT_EQ(r.hIcon, 1007u);
    EXPECT_EQ(std::string_view(r.szTip, 64).find('\0'), std::min<std::size_t>(length, 63));
    owner.Free(icon);
    EXPECT_EQ(platform.journal, (Journal{"modify", "modify", "add", "window gone", "destroy 1007", "delete"}));
  }
}

TEST(TarvelTrayIcon, IconIndexTakesTheImageAndRemovesTheIconUnlessLoadingOrUnchanged) {
  using Act = std::function<void(tray::TTarvelTrayIcon&, ui::TComponent& owner, ui::TComponent& list)>;
  const struct {
    Act act;
    Journal calls;  // after the icon was added
    int index;
    tray::IconHandle image;
  } cases[] = {
      {[](auto& i, auto&, auto&) { i.SetIconIndex(1); }, {"image 1", "delete"}, 1, 101},
      {[](auto& i, auto&, auto&) { i.SetIconIndex(1), i.SetIconIndex(1); }, {"image 1", "delete"}, 1, 101},
      {[](auto& i, auto&, auto&) { i.SetIconIndex(1), i.SetIconIndex(-1); }, {"image 1", "delete", "destroy 101"}, -1, 0},
      {[](auto& i, auto&, auto&) { i.SetIconIndex(0), i.SetIconIndex(1), i.SetActive(true); },
       {"image 0", "delete", "image 1", "destroy 100", "delete", "add"}, 1, 101},
      {[](auto& i, auto&, auto&) { i.BeginLoading(), i.SetIconIndex(1), i.EndLoading(); }, {"add"}, -1, 0},
      {[](auto& i, auto& o, auto& l) { o.Free(l), i.SetIconIndex(1); }, {"delete"}, 1, 0},
  };
  for (std::size_t n = 0; n < std::size(cases); ++n) {
    const auto& c = cases[n];
    Owned o;
    auto& [platform, owner, list, icon] = o;
    icon.SetImageList(&list);
    icon.SetActive(true);
    platform.journal.clear();
    c.act(icon, owner, list);
    EXPECT_EQ(platform.journal, c.calls) << "case " << n;
    EXPECT_EQ(icon.IconIndex(), c.index) << "case " << n;
    EXPECT_EQ(icon.Icon().Handle(), c.image) << "case " << n;
    EXPECT_EQ(platform.records.back().hIcon, c.calls.back() == "add" ? c.image : 0u) << "case " << n;
    EXPECT_TRUE(icon.Active());
  }
}

// The menu's own loop and the messages processed before it deliver
// notifications while the right-button release is being handled.
TEST(TarvelTrayIcon, NotificationsBecomeEventsAndSingleTaskDropsNestedOnesEvenAfterAFailure) {
  for (const bool single : {false, true}) {
    Owned o;
    auto& [platform, owner, menu, icon] = o;
    icon.SetPopUpMenu(&menu);
    icon.SetSingleTask(single);
    auto log = [&](std::string s, int b, int x, int y) { platform.journal.push_back(s + std::to_string(b * 10000 + x + y)); };
    icon.OnMouseDown = [&](auto&, tray::TMouseButton b, int x, int y) { log("down ", b, x, y); };
    icon.OnMouseUp = [&](auto&, tray::TMouseButton b, int x, int y) { log("up ", b, x, y); };
    icon.OnMouseMove = [&](auto&, int x, int y) { log("move ", 0, x, y); };
    icon.OnDblClick = [&](auto&) { platform.journal.push_back("dbl"); };
    for (std::intptr_t mouse = 0x1FF; mouse <= 0x20A; ++mouse) Notify(icon, mouse);
    EXPECT_EQ(platform.journal, (Journal{"move 1120", "down 1120", "up 1120", "dbl", "down 11120", "foreground",
                                         "process", "popup 1120", "up 11120", "dbl", "down 21120", "up 21120", "dbl"}));
    platform.journal.clear();
    platform.nested = [&] { Notify(icon, 0x200); };
    EXPECT_EQ(Notify(icon, 0x205), 0);
    const Journal dropped{"foreground", "process", "popup 1120", "up 11120"},
        nested{"foreground", "process", "move 1120", "popup 1120", "move 1120", "up 11120"};
    EXPECT_EQ(platform.journal, single ? dropped : nested);
    icon.OnMouseDown = [](auto&, auto, int, int) { throw ui::Error("handler failed"); };
    EXPECT_THROW(Notify(icon, 0x201), ui::Error);
    platform.journal.clear();
    EXPECT_EQ(Notify(icon, 0x200), 0);
    EXPECT_EQ(icon.TrayWndProc({0x1A, 0, 0}), 0x1B) << "other messages: the default processing";
    platform.nested = [&] { owner.Free(menu); };
    Notify(icon, 0x205);
    EXPECT_EQ(platform.journal, (Journal{"move 1120", "foreground", "process", "up 11120"}));
  }
}

}  // namespace
