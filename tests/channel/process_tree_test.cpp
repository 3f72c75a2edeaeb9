// Whose process a bus name or window belongs to.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "playback/channel_process_tree.h"

namespace kadrel::test {
namespace {

TEST(ProcessTree, ThePlayerItsDescendantsAndNoOneElse) {
  const pid_t self = getpid();
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    pause();
    _exit(0);
  }
  EXPECT_TRUE(ProcessBelongsTo(self, self));
  EXPECT_TRUE(ProcessBelongsTo(child, self));   // a descendant
  EXPECT_FALSE(ProcessBelongsTo(self, child));  // not the other way round
  EXPECT_FALSE(ProcessBelongsTo(1, self));
  EXPECT_FALSE(ProcessBelongsTo(-1, self));
  EXPECT_FALSE(ProcessBelongsTo(self, 0));
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_FALSE(ProcessBelongsTo(child, self));  // gone
}

}  // namespace
}  // namespace kadrel::test
