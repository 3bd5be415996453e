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

TEST(Component, OwnerDestroysLastCreatedFirstAndTellsTheOthers) {
  journal.clear();
  {
    ui::TComponent owner;
    auto& a = owner.Make<Recorder>("a");
    auto& b = owner.Make<Recorder>("b");
    a.peer = &b;
    owner.Make<Recorder>("c");
    EXPECT_EQ(owner.FindComponent("b"), &b);
    EXPECT_EQ(owner.FindComponent("d"), nullptr);
  }
  EXPECT_EQ(journal, (std::vector<std::string>{"a sees c", "b sees c", "before c", "destroy c",
                                               "a sees b", "before b", "destroy b", "before a",
                                               "destroy a"}));
}

TEST(Component, FreeClearsReferencesHeldByOtherComponents) {
  journal.clear();
  ui::TComponent owner;
  auto& a = owner.Make<Recorder>("a");
  auto& b = owner.Make<Recorder>("b");
  a.peer = &b;
  owner.Free(b);
  EXPECT_EQ(a.peer, nullptr);
  EXPECT_EQ(owner.ComponentCount(), 1u);
  owner.Free(b);  // no longer owned: nothing happens
  EXPECT_EQ(owner.ComponentCount(), 1u);
}

TEST(Component, LoadingReachesOwnedComponentsAndEndsWithLoadedOwnerFirst) {
  journal.clear();
  Recorder owner;
  owner.SetName("owner");
  auto& early = owner.Make<Recorder>("early");
  owner.BeginLoading();
  auto& late = owner.Make<Recorder>("late");
  EXPECT_TRUE(early.Loading());
  EXPECT_TRUE(late.Loading());
  owner.EndLoading();
  EXPECT_FALSE(late.Loading());
  EXPECT_FALSE(owner.wasLoadingAtLoaded);
  EXPECT_EQ(journal, (std::vector<std::string>{"loaded owner", "loaded early", "loaded late"}));
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
