// The scan worker runs as a batch thread, so that the window it wakes keeps the
// processor.

#include <gtest/gtest.h>

#include <sched.h>

#include <future>

#include "scan/file_find_thread.h"

namespace kadrel {
namespace {

TEST(FileFindThread, PassesRunAsABatchThread) {
  TFileFindThread worker;
  std::promise<int> policy;
  ASSERT_TRUE(worker.Resume([&] { policy.set_value(sched_getscheduler(0)); }));
  EXPECT_EQ(policy.get_future().get(), SCHED_BATCH);
  EXPECT_EQ(sched_getscheduler(0), SCHED_OTHER);  // the caller's own policy is untouched
}

}  // namespace
}  // namespace kadrel
