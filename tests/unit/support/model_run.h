// What the randomised model tests share: the first failing step of a
// sequence, shrinking a failing sequence to a short one, the run's size from
// the environment, and the run over seeds 1 to N that reports the shortest
// failing sequence readably.
//
// A model is built afresh for every sequence tried (`make(seed)`, returned by
// value, never moved) and offers `std::string Apply(const Step&)`: the first
// broken invariant after the step, empty when all hold.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace corvane::testing {

// The index of the first step that breaks an invariant, or -1.
template <typename Step, typename MakeModel>
int FirstFailure(uint32_t seed, const std::vector<Step>& steps, const MakeModel& make, std::string& broken) {
  auto model = make(seed);
  for (size_t i = 0; i < steps.size(); ++i) {
    broken = model.Apply(steps[i]);
    if (!broken.empty()) return static_cast<int>(i);
  }
  return -1;
}

// Drops steps one at a time while the sequence still fails.
template <typename Step, typename MakeModel>
std::vector<Step> Shrunk(uint32_t seed, std::vector<Step> steps, const MakeModel& make) {
  std::string broken;
  steps.resize(static_cast<size_t>(FirstFailure(seed, steps, make, broken)) + 1);
  for (bool shorter = true; shorter;) {
    shorter = false;
    for (size_t i = 0; i + 1 < steps.size(); ++i) {
      std::vector<Step> candidate = steps;
      candidate.erase(candidate.begin() + static_cast<long>(i));
      const int failure = FirstFailure(seed, candidate, make, broken);
      if (failure >= 0) {
        candidate.resize(static_cast<size_t>(failure) + 1);
        steps = candidate;
        shorter = true;
        break;
      }
    }
  }
  return steps;
}

inline int FromEnvironment(const char* name, int fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}

// Runs `runs` sequences of `stepsPerRun` steps, seeds `firstSeed` on
// (`generate(seed, count)` draws a sequence). Empty when every invariant
// held; otherwise the seed, the broken invariant and the shortest failing
// sequence, one `describe(step)` per step.
template <typename Generate, typename MakeModel, typename Describe>
std::string FirstFailingRun(uint32_t firstSeed, int runs, int stepsPerRun, const Generate& generate,
                            const MakeModel& make, const Describe& describe) {
  for (int run = 0; run < runs; ++run) {
    const auto seed = firstSeed + static_cast<uint32_t>(run);
    const auto steps = generate(seed, stepsPerRun);
    std::string broken;
    if (FirstFailure(seed, steps, make, broken) < 0) continue;
    const auto shortest = Shrunk(seed, steps, make);
    FirstFailure(seed, shortest, make, broken);
    std::ostringstream text;
    text << "seed " << seed << ": " << broken << "\n  shortest failing sequence (" << shortest.size()
         << " steps):";
    for (const auto& step : shortest) text << "\n    " << describe(step);
    return text.str();
  }
  return {};
}

}  // namespace corvane::testing
