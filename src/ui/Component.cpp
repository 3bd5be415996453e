// Component ownership and life cycle.
#include "ui/Component.h"

#include <algorithm>

namespace ui {

TComponent::~TComponent() { DestroyComponents(); }

// Last created first, each one announced to the rest before it goes.
void TComponent::DestroyComponents() {
  while (!components_.empty()) Free(*components_.back());
}

void TComponent::Free(TComponent& component) {
  auto it = std::find_if(components_.begin(), components_.end(),
                         [&](const auto& c) { return c.get() == &component; });
  if (it == components_.end()) return;
  std::unique_ptr<TComponent> doomed = std::move(*it);
  components_.erase(it);
  for (auto& other : components_) other->Notification(component);
  doomed->BeforeDestruction();
  doomed.reset();
}

TComponent& TComponent::Insert(std::unique_ptr<TComponent> component, std::string name) {
  component->name_ = std::move(name);
  component->loading_ = loading_;
  components_.push_back(std::move(component));
  return *components_.back();
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (auto& c : components_)
    if (c->name_ == name) return c.get();
  return nullptr;
}

void TComponent::BeginLoading() { loading_ = true; }

// Components made before loading began were loaded when they were made.
void TComponent::EndLoading() {
  loading_ = false;
  Loaded();
  for (auto& c : components_)
    if (c->loading_) c->EndLoading();
}

}  // namespace ui
