#include "framework/PtrStrong.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <thread>
#include <vector>

#include "framework/CTreeNode.h"

using GE_::Safe::ObjStrong;
using GE_::Safe::PtrStrong;
using GE_::Safe::PtrWeak;
using GE_::Safe::Refcnt_ptr_excp;

namespace {

std::atomic<int> g_destroyed{0};

struct Probe : ObjStrong {
  ~Probe() override { ++g_destroyed; }
};
struct DerivedProbe : Probe {};

// Not an ObjStrong: gets a separate count block.
struct Plain {
  ~Plain() { ++g_destroyed; }
};

class PtrStrongTest : public ::testing::Test {
 protected:
  void SetUp() override { g_destroyed = 0; }
};

long Strong(const GE_::Safe::_PtrSmart_base& p) { return p.GetRefCount()->StrongCount(); }
long Weak(const GE_::Safe::_PtrSmart_base& p) { return p.GetRefCount()->WeakCount(); }

TEST_F(PtrStrongTest, IntrusiveBlockSharedByPointersMadeFromTheSameAddress) {
  Probe* raw = new Probe;
  EXPECT_EQ(0, raw->GetRefCount()->StrongCount());
  EXPECT_EQ(1, raw->GetRefCount()->WeakCount());  // the object's own reference
  {
    PtrStrong<Probe> a(raw);
    PtrStrong<Probe> b(raw);
    EXPECT_EQ(a.GetRefCount(), b.GetRefCount());
    EXPECT_EQ(2, Strong(a));
    a = raw;  // the held address: no change
    const PtrStrong<Probe>& self = a;
    a = self;
    b = a;
    EXPECT_EQ(2, Strong(a));
    a.Reset();
    EXPECT_EQ(0, g_destroyed);
  }
  EXPECT_EQ(1, g_destroyed);
}

TEST_F(PtrStrongTest, WeakPointerOutlivesObjectAndThrowsOnDereference) {
  PtrWeak<Probe> w;
  {
    PtrStrong<Probe> s(new Probe);
    w = s;
    EXPECT_EQ(1, Strong(w));
    EXPECT_EQ(2, Weak(w));
    EXPECT_FALSE(w.IsNull());
  }
  EXPECT_EQ(1, g_destroyed);
  EXPECT_TRUE(w.IsNull());
  EXPECT_EQ(1, Weak(w));  // only w keeps the block
  try {
    (void)w->GetRefCount();
    FAIL() << "no exception";
  } catch (Refcnt_ptr_excp* e) {
    EXPECT_NE(nullptr, e);
  }
  PtrStrong<Probe> revived(w);
  EXPECT_TRUE(revived.IsNull());
  EXPECT_EQ(nullptr, revived.GetRefCount());
  PtrWeak<Probe> copy(w);  // copying a dangling pointer gives null
  EXPECT_EQ(nullptr, copy.GetRefCount());
}

TEST_F(PtrStrongTest, WeakPointerNeverDestroysAnUnownedObject) {
  {
    Probe local;
    {
      PtrWeak<Probe> w(&local);
      EXPECT_EQ(2, local.GetRefCount()->WeakCount());
      EXPECT_EQ(0, local.GetRefCount()->StrongCount());
    }
    EXPECT_EQ(0, g_destroyed);
    EXPECT_EQ(1, local.GetRefCount()->WeakCount());
  }
  EXPECT_EQ(1, g_destroyed);
}

TEST_F(PtrStrongTest, ConversionsUseDynamicCastAndShareTheBlock) {
  PtrStrong<Probe> base(new Probe);
  PtrStrong<DerivedProbe> wrong(base);
  EXPECT_TRUE(wrong.IsNull());

  PtrStrong<Probe> holder(new DerivedProbe);
  PtrStrong<DerivedProbe> right(holder);
  ASSERT_FALSE(right.IsNull());
  EXPECT_EQ(2, Strong(right));
  PtrStrong<ObjStrong> up = right;
  EXPECT_EQ(3, Strong(up));
}

TEST_F(PtrStrongTest, OtherTypesGetOwnBlockAndAreDeletedOnce) {
  PtrWeak<Plain> w;
  {
    PtrStrong<Plain> a(new Plain);
    PtrStrong<Plain> b = a;
    w = b;
    EXPECT_EQ(2, Strong(a));
  }
  EXPECT_EQ(1, g_destroyed);
  EXPECT_TRUE(w.IsNull());

  PtrStrong<int> n(new int(7));
  EXPECT_EQ(7, *n);
  PtrStrong<int> none;
  EXPECT_THROW(*none, Refcnt_ptr_excp*);
}

TEST_F(PtrStrongTest, TreeNodeHeldAsPlainTreeSharesItsIntrusiveCount) {
  CTree root;
  auto* node = new CTreeNode<int>(4);
  PtrStrong<CTreeNode<int>> typed(node);
  root.AddNode(node);
  EXPECT_EQ(2, typed.GetRefCount()->StrongCount());
  EXPECT_EQ(typed.GetRefCount(), root.GetNodeAt(0).GetRefCount());
  EXPECT_TRUE(root.GetNodeAt(1).IsNull());
}

// Several threads copy and drop pointers to one object: the counts stay
// exact, the object dies once and the block is freed with the last pointer
// (the leak checker of the sanitizer builds watches the block).
TEST_F(PtrStrongTest, ConcurrentCopiesDestroyOnce) {
  PtrStrong<Probe> shared(new Probe);
  PtrWeak<Probe> observer(shared);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&shared, &observer] {
      for (int i = 0; i < 20000; ++i) {
        PtrStrong<Probe> copy(shared);
        PtrWeak<Probe> weak(copy);
        PtrStrong<ObjStrong> converted(copy);
        ASSERT_FALSE(converted.IsNull());
        PtrWeak<Probe> second(observer);
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(1, Strong(shared));
  EXPECT_EQ(2, Weak(shared));
  EXPECT_EQ(0, g_destroyed);

  // The last strong and the last weak references dropped at the same time.
  std::thread a([&shared] { shared.Reset(); });
  std::thread b([&observer] { observer.Reset(); });
  a.join();
  b.join();
  EXPECT_EQ(1, g_destroyed);
}

// A part that takes a pointer to itself while it is being constructed.
struct SelfWatching : ObjStrong {
  SelfWatching() { self = this; }
  PtrWeak<SelfWatching> self;
};
struct Padding {
  virtual ~Padding() = default;
  double pad = 0;
};
// SelfWatching does not start the object: its pointer gets a block apart.
struct Offset : Padding, SelfWatching {};
struct Throwing : ObjStrong {
  Throwing() { throw 7; }
};

// Objects made with new keep their count block in front of them, or apart
// when their first pointer came while they were being constructed; the
// memory goes with the last of object and block (the leak checker of the
// sanitizer builds watches both).
TEST_F(PtrStrongTest, BlocksInFrontOfTheirObjects) {
  PtrWeak<Offset> outliving;
  {
    PtrStrong<Offset> made(new Offset);
    EXPECT_EQ(made.GetRefCount(), made->self.GetRefCount());
    outliving = made;
    PtrStrong<SelfWatching> own(new SelfWatching);
    EXPECT_EQ(own.GetRefCount(), own->self.GetRefCount());
    EXPECT_EQ(1, Strong(own));
  }
  EXPECT_TRUE(outliving.IsNull());
  outliving.Reset();

  EXPECT_THROW(delete new Throwing, int);
  Probe* quiet = new (std::nothrow) Probe;
  ASSERT_NE(nullptr, quiet);
  PtrStrong<Probe>(quiet).Reset();
  EXPECT_EQ(1, g_destroyed);

  // Two threads make the first pointers to one object at once: one block.
  for (int round = 0; round < 200; ++round) {
    Probe* raw = new Probe;
    std::atomic<int> ready{0};
    const GE_::Safe::RefCount_base* blocks[2] = {};
    auto take = [&](int t) {
      PtrStrong<Probe> p(raw);
      blocks[t] = p.GetRefCount();
      ++ready;
      while (ready.load() < 2) std::this_thread::yield();
    };
    std::thread a(take, 0), b(take, 1);
    a.join();
    b.join();
    ASSERT_EQ(blocks[0], blocks[1]);
  }
  EXPECT_EQ(201, g_destroyed);
}

}  // namespace
