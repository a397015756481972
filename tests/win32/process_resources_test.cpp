// What the soak measures of the program from outside: each figure must move
// when a process takes hold of more of its kind. (Under Wine, the system's
// own answers for another process are 0 for handles, GDI and USER objects.)
#include <windows.h>

#include <gtest/gtest.h>

#include "support/process_resources.h"
#include "support/program_under_test.h"
#include "support/resource_holder.h"
#include "win32/unique_handle.h"

namespace corvane::testing {
namespace {

TEST(ProcessResourcesTest, SeesWhatAProcessTakesHoldOf) {
  const UniqueKernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, kHolderReadyEvent));
  const UniqueKernelHandle go(CreateEventA(nullptr, TRUE, FALSE, kHolderGoEvent));
  const UniqueKernelHandle done(CreateEventA(nullptr, TRUE, FALSE, kHolderDoneEvent));
  ProgramUnderTest holder("", "resource_holder.exe");
  ASSERT_TRUE(holder.Started());
  ASSERT_EQ(WaitForSingleObject(ready.get(), 20000), WAIT_OBJECT_0);
  const ProcessResources before = MeasureProcess(holder.Process());
  SetEvent(go.get());
  ASSERT_EQ(WaitForSingleObject(done.get(), 20000), WAIT_OBJECT_0);
  const ProcessResources after = MeasureProcess(holder.Process());

  const DWORD held = kHeldOfEachKind;
  const ULONGLONG heldBytes = ULONGLONG{kHeldOfEachKind} * kHeldBlockBytes;
  EXPECT_GE(after.handles, before.handles + held);
  EXPECT_GE(after.gdiObjects, before.gdiObjects + held);
  EXPECT_GE(after.userObjects, before.userObjects + held);
  EXPECT_GE(after.processHeapBytes + after.otherHeapBytes,
            before.processHeapBytes + before.otherHeapBytes + 2 * heldBytes);
  if (RunningUnderWine()) {
    // Wine's C runtime keeps a heap of its own: the program's objects are
    // told apart from what Wine's DLLs keep.
    EXPECT_GE(after.processHeapBytes, before.processHeapBytes + heldBytes);
    EXPECT_GE(after.otherHeapBytes, before.otherHeapBytes + heldBytes);
  }
}

}  // namespace
}  // namespace corvane::testing
