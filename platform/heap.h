// Memory from the process heap without exceptions: a failed allocation gives an empty result
// that the caller checks. The program keeps the C++ runtime's throwing allocator out of its
// file this way.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

namespace vantorel {

// An owned array of `count` zeroed elements of a trivial type.
template <typename T>
class HeapArray {
  static_assert(std::is_trivial_v<T>);

 public:
  HeapArray() = default;
  explicit HeapArray(std::size_t count) {
    if (count == 0 || count > SIZE_MAX / sizeof(T)) return;
    data_ = static_cast<T*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, count * sizeof(T)));
    if (data_ != nullptr) size_ = count;
  }
  HeapArray(HeapArray&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
  HeapArray& operator=(HeapArray&& other) noexcept {
    HeapArray gone(std::move(*this));
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    return *this;
  }
  HeapArray(const HeapArray&) = delete;
  HeapArray& operator=(const HeapArray&) = delete;
  ~HeapArray() {
    if (data_ != nullptr) HeapFree(GetProcessHeap(), 0, data_);
  }

  T* data() const { return data_; }
  std::size_t size() const { return size_; }
  explicit operator bool() const { return data_ != nullptr; }

 private:
  T* data_ = nullptr;
  std::size_t size_ = 0;
};

// `new` and `delete` for one object on the process heap; HeapNew gives null when out of memory.
template <typename T>
T* HeapNew() {
  void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(T));
  return memory != nullptr ? new (memory) T() : nullptr;
}

template <typename T>
void HeapDelete(T* object) {
  if (object == nullptr) return;
  object->~T();
  HeapFree(GetProcessHeap(), 0, object);
}

}  // namespace vantorel
