// Component ownership: destruction order, removal notifications, loading.
#include "ui/Component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> journal;

class Recorder : public ui::TComponent {
 public:
  using TComponent::TComponent;
  ~Recorder() override { journal.push_back("destroy " + Name()); }
  ui::TComponent* peer = nullptr;
  bool wasLoadingAtLoaded = true;

 protected:
  void Loaded() override {
    wasLoadingAtLoaded = Loading();
    journal.push_back("loaded " + Name());
  }
  void BeforeDestruction() override { journal.push_back("before " + Name()); }
  void Notification(ui::TComponent& removed) override {
    journal.push_back(Name() + " sees " + removed.Name());
    if (peer == &removed) peer = nullptr;
  }
};

// Free and the owner's end alike tell the others before the component goes;
// the owner's end takes the last created first.
TEST(Component, FreeAndTheOwnersEndTellTheOthersAndTheOwnerDestroysLastCreatedFirst) {
  journal.clear();
  {
    ui::TComponent owner;
    auto& a = owner.Make<Recorder>("a");
    auto& b = owner.Make<Recorder>("b");
    a.peer = &b;
    owner.Make<Recorder>("c");
    owner.Make<Recorder>("d");
    journal.clear();
    EXPECT_EQ(owner.FindComponent("b"), &b);
    EXPECT_EQ(owner.FindComponent("e"), nullptr);
    owner.Free(b);
    EXPECT_EQ(a.peer, nullptr);
    EXPECT_EQ(owner.ComponentCount(), 3u);
    owner.Free(b);  // no longer owned: nothing happens
    EXPECT_EQ(owner.ComponentCount(), 3u);
  }
  EXPECT_EQ(journal, (std::vector<std::string>{"a sees b", "c sees b", "d sees b", "before b", "destroy b",
                                               "a sees d", "c sees d", "before d", "destroy d", "a sees c",
                                               "before c", "destroy c", "before a", "destroy a"}));
}

// A component made at run time is loaded at once, exactly once; one made
// while its owner loads is loaded after the owner.
TEST(Component, LoadedRunsOnceForDesignedAndRunTimeComponents) {
  journal.clear();
  Recorder owner;
  owner.SetName("owner");
  auto& early = owner.Make<Recorder>("early");
  EXPECT_FALSE(early.wasLoadingAtLoaded);
  owner.BeginLoading();
  auto& late = owner.Make<Recorder>("late");
  EXPECT_FALSE(early.Loading());
  EXPECT_TRUE(late.Loading());
  owner.EndLoading();
  EXPECT_FALSE(late.Loading());
  EXPECT_FALSE(owner.wasLoadingAtLoaded);
  owner.Make<Recorder>("after");
  EXPECT_EQ(journal, (std::vector<std::string>{"loaded early", "loaded owner", "loaded late", "loaded after"}));
}

TEST(Event, UnassignedIsSkippedAndBoundCallsTheMember) {
  struct Target {
    int hits = 0;
    void Hit(int n) { hits += n; }
  } target;
  ui::Event<int> event;
  ui::Fire(event, 1);
  event = ui::Bind(&target, &Target::Hit);
  ui::Fire(event, 2);
  EXPECT_EQ(target.hits, 2);
}

}  // namespace
