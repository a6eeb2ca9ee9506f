#include <gtest/gtest.h>

#include "memhost/fault_injector.h"
#include "pphatch/host.h"

namespace pphatch::mem {
namespace {

// The same operation named by two literals at different addresses.
constexpr char kViewLeft[] = "HostView.ViewLeft";

TEST(FaultInjection, CountsByNameWhateverLiteralNamesTheCall) {
  FaultInjector faults;
  faults.Enter("HostView.ViewLeft");
  faults.Enter(kViewLeft);
  faults.Enter("HostView.ViewWidth");
  EXPECT_EQ(faults.Calls("HostView.ViewLeft"), 2);
  EXPECT_EQ(faults.Calls("HostView.ViewWidth"), 1);
  EXPECT_EQ(faults.TotalCalls(), 3);
}

TEST(FaultInjection, CountingStartsAgainFromZeroAfterReset) {
  FaultInjector faults;
  for (int i = 0; i < 3; ++i) faults.Enter("HostView.ViewLeft");
  faults.ResetCounts();
  EXPECT_EQ(faults.Calls("HostView.ViewLeft"), 0);
  faults.Enter("HostView.ViewLeft");
  faults.Enter(kViewLeft);
  EXPECT_EQ(faults.Calls("HostView.ViewLeft"), 2);
  EXPECT_EQ(faults.TotalCalls(), 2);
  faults.Fail("HostView.ViewLeft");
  EXPECT_THROW(faults.Enter(kViewLeft), HostError);
  EXPECT_EQ(faults.Calls("HostView.ViewLeft"), 3);
}

}  // namespace
}  // namespace pphatch::mem
