#include "settings/save_walk.h"

#include <algorithm>

namespace lorvane::settings {

std::vector<SaveStep> save_walk(std::int32_t stored_count, std::int32_t n,
                                const std::vector<std::int32_t>& present_positions) {
  std::vector<SaveStep> steps;
  steps.reserve(static_cast<std::size_t>(n) + 1);
  for (std::int32_t k = 0; k < n; ++k) steps.push_back({SaveStep::Kind::write_entry, k});
  steps.push_back({SaveStep::Kind::write_empty, n});

  std::int32_t last = stored_count != 0 ? std::max(stored_count, n) : n;
  std::vector<std::int32_t> stale;
  for (std::int32_t k : present_positions) {
    if (k > n && k <= last) stale.push_back(k);
  }
  std::sort(stale.begin(), stale.end());
  stale.erase(std::unique(stale.begin(), stale.end()), stale.end());
  for (std::int32_t k : stale) steps.push_back({SaveStep::Kind::remove, k});
  return steps;
}

std::vector<ProgramStep> program_walk(const std::vector<bool>& has_program,
                                      const std::vector<std::int32_t>& present_positions) {
  auto n = static_cast<std::int32_t>(has_program.size());
  std::vector<std::int32_t> present = present_positions;
  std::sort(present.begin(), present.end());
  present.erase(std::unique(present.begin(), present.end()), present.end());
  std::vector<ProgramStep> steps;
  for (std::int32_t k = 0; k < n; ++k) {
    if (has_program[static_cast<std::size_t>(k)]) {
      steps.push_back({ProgramStep::Kind::write, k});
    } else if (std::binary_search(present.begin(), present.end(), k)) {
      steps.push_back({ProgramStep::Kind::remove, k});
    }
  }
  for (std::int32_t k : present) {
    if (k >= n) steps.push_back({ProgramStep::Kind::remove, k});
  }
  return steps;
}

std::vector<std::int32_t> load_positions(std::int32_t count,
                                         const std::vector<std::int32_t>& present_positions) {
  std::int32_t last = std::max<std::int32_t>(count, 0);
  std::vector<std::int32_t> positions;
  for (std::int32_t k : present_positions) {
    if (k >= 0 && k <= last) positions.push_back(k);
  }
  std::sort(positions.begin(), positions.end());
  positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
  return positions;
}

}  // namespace lorvane::settings
