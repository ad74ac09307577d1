#pragma once
// An event of a control or of the program's own classes. A handler is bound per instance;
// raising runs it synchronously. An unbound event does nothing and gives R's default value.
#include <functional>
#include <utility>

namespace fw {

template <class Signature>
class Event;

template <class R, class... Args>
class Event<R(Args...)> {
 public:
  void Bind(std::function<R(Args...)> handler) { handler_ = std::move(handler); }

  // Binds a method of the handling object (a control's window, usually).
  template <class Owner>
  void Bind(Owner* owner, R (Owner::*method)(Args...)) {
    handler_ = [owner, method](Args... args) -> R { return (owner->*method)(std::forward<Args>(args)...); };
  }

  bool IsBound() const { return static_cast<bool>(handler_); }

  R Raise(Args... args) const {
    if (!handler_) return R();
    // A copy, so that a handler that rebinds the event finishes on the function it started with.
    auto handler = handler_;
    return handler(std::forward<Args>(args)...);
  }

 private:
  std::function<R(Args...)> handler_;
};

}  // namespace fw
