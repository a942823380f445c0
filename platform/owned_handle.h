#pragma once

#include <cstdint>
#include <utility>

namespace platform {

// A handle that one platform object handed out (a registry key, a folder listing, a process
// snapshot). Move-only; it gives itself back to its owner when it goes away, on every way out.
//
// The owner class declares `friend class OwnedHandle<Owner>` and implements a private
// `void ReleaseHandle(std::uintptr_t value)`; it makes handles with `OwnedHandle(owner, value)`.
template <class Owner>
class OwnedHandle {
 public:
  OwnedHandle() = default;
  OwnedHandle(Owner* owner, std::uintptr_t value) : owner_(owner), value_(value) {}
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  OwnedHandle(OwnedHandle&& other) noexcept
      : owner_(std::exchange(other.owner_, nullptr)), value_(std::exchange(other.value_, 0)) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) {
      Close();
      owner_ = std::exchange(other.owner_, nullptr);
      value_ = std::exchange(other.value_, 0);
    }
    return *this;
  }
  ~OwnedHandle() { Close(); }

  bool IsOpen() const { return owner_ != nullptr; }
  std::uintptr_t Value() const { return value_; }
  Owner* OwnerObject() const { return owner_; }

  void Close() {
    if (owner_ != nullptr) {
      std::exchange(owner_, nullptr)->ReleaseHandle(std::exchange(value_, 0));
    }
  }

 private:
  Owner* owner_ = nullptr;
  std::uintptr_t value_ = 0;
};

}  // namespace platform
