// Components: objects with an owner that destroys them, a name, a loading
// state while their design is applied, and a removal notification to the
// owner's other components.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ui {

class TComponent {
 public:
  explicit TComponent(TComponent* owner = nullptr) : owner_(owner) {}
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  virtual ~TComponent();

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  bool Loading() const { return loading_; }

  // Creates a component owned by this one; it lives until this one is
  // destroyed or it is removed with Free. Made while this one applies its
  // design, it is loaded with the rest; made at any other time, at once.
  template <typename T, typename... Args>
  T& Make(std::string name, Args&&... args) {
    T& ref = static_cast<T&>(Insert(std::make_unique<T>(this, std::forward<Args>(args)...), std::move(name)));
    if (!loading_) static_cast<TComponent&>(ref).Loaded();
    return ref;
  }
  // Destroys an owned component; the others receive Notification first.
  void Free(TComponent& component);
  TComponent* FindComponent(const std::string& name) const;
  std::size_t ComponentCount() const { return components_.size(); }
  TComponent& Component(std::size_t i) const { return *components_[i]; }

  // Applying a design: property writes made between these two calls may only
  // record their value; EndLoading runs Loaded on this component and then on
  // every component made meanwhile.
  void BeginLoading();
  void EndLoading();

 protected:
  // Takes ownership of a new component, in this one's loading state, without
  // loading it.
  TComponent& Insert(std::unique_ptr<TComponent> component, std::string name);
  virtual void Loaded() {}
  // Runs before destruction starts, while every derived part still exists:
  // the place for destroy events that reach into the derived object.
  virtual void BeforeDestruction() {}
  // Destroys every owned component, last created first.
  void DestroyComponents();
  // Another component of the same owner is about to be destroyed: drop every
  // reference to it.
  virtual void Notification(TComponent& /*removed*/) {}

 private:
  TComponent* owner_;
  std::string name_;
  bool loading_ = false;
  std::vector<std::unique_ptr<TComponent>> components_;
};

// Events are callables; an unassigned event is skipped.
template <typename... Args>
using Event = std::function<void(Args...)>;

template <typename... Params, typename... Args>
void Fire(const Event<Params...>& event, Args&&... args) {
  if (event) event(std::forward<Args>(args)...);
}

// Binds a member function to its object: `OnClick = Bind(this, &TForm1::Button1Click)`.
template <typename T, typename R, typename... Args>
std::function<R(Args...)> Bind(T* object, R (T::*method)(Args...)) {
  return [object, method](Args... args) { return (object->*method)(std::forward<Args>(args)...); };
}

}  // namespace ui
