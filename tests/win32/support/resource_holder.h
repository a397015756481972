// What resource_holder.exe takes hold of, and the events it is driven by.
#pragma once

namespace corvane::testing {

inline constexpr int kHeldOfEachKind = 100;
inline constexpr unsigned kHeldBlockBytes = 1000;
inline constexpr char kHolderReadyEvent[] = "Local\\CorvaneResourceHolderReady";
inline constexpr char kHolderGoEvent[] = "Local\\CorvaneResourceHolderGo";
inline constexpr char kHolderDoneEvent[] = "Local\\CorvaneResourceHolderDone";

}  // namespace corvane::testing
