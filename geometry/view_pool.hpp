// Internal to the object wrappers: a recycling allocator for the shared views
// of vertices and faces.
//
// Generic part: it serves the shared views only (cmq_object.hpp), which this
// object plug-in does not reach.
//
// Every dereference of a vertex or face iterator hands out a new shared view.
// Made with std::allocate_shared and this allocator, the view and its control
// block live in one block taken from a small per-thread free list, so a walk
// over millions of vertices reuses a handful of blocks instead of calling the
// general-purpose allocator for each one.
#pragma once

#include <cstddef>
#include <new>

namespace cmq::detail {

// Free blocks of one size and alignment, per thread. At most kKeep blocks are
// kept; the rest go back to the general allocator.
template <std::size_t Size, std::size_t Align>
class BlockPool {
 public:
  static void* Take() noexcept {
    FreeList& list = Local();
    Node* node = list.head;
    if (node == nullptr) return nullptr;
    list.head = node->next;
    --list.count;
    return node;
  }

  // False when the pool is full: the caller releases the block itself.
  static bool Give(void* block) noexcept {
    FreeList& list = Local();
    if (list.count >= kKeep) return false;
    list.head = new (block) Node{list.head};
    ++list.count;
    return true;
  }

 private:
  static constexpr int kKeep = 64;
  struct Node {
    Node* next;
  };
  static_assert(Size >= sizeof(Node) && Align >= alignof(Node), "a free block holds its link");

  struct FreeList {
    Node* head = nullptr;
    int count = 0;
    FreeList() = default;
    FreeList(const FreeList&) = delete;
    FreeList& operator=(const FreeList&) = delete;
    ~FreeList() {
      while (head != nullptr) {
        Node* next = head->next;
        ::operator delete(static_cast<void*>(head));
        head = next;
      }
    }
  };

  static FreeList& Local() noexcept {
    // Views are made on the host's user-interface thread only. A plain static
    // (not thread_local) keeps the library unloadable: a thread-local with a
    // destructor pins the library in memory after its last handle closes.
    static FreeList list;
    return list;
  }
};

template <class T>
class RecyclingAllocator {
 public:
  using value_type = T;

  RecyclingAllocator() noexcept = default;
  template <class U>
  RecyclingAllocator(const RecyclingAllocator<U>&) noexcept {}  // NOLINT(google-explicit-constructor)

  T* allocate(std::size_t n) {
    static_assert(alignof(T) <= alignof(std::max_align_t), "blocks come from the plain operator new");
    if (n == 1) {
      if (void* block = Pool::Take()) return static_cast<T*>(block);
    }
    return static_cast<T*>(::operator new(n * sizeof(T)));
  }

  void deallocate(T* p, std::size_t n) noexcept {
    if (n == 1 && Pool::Give(p)) return;
    ::operator delete(static_cast<void*>(p));
  }

  template <class U>
  bool operator==(const RecyclingAllocator<U>&) const noexcept {
    return true;
  }
  template <class U>
  bool operator!=(const RecyclingAllocator<U>&) const noexcept {
    return false;
  }

 private:
  using Pool = BlockPool<sizeof(T), alignof(T)>;
};

}  // namespace cmq::detail
