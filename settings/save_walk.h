#pragma once
// What Save writes, worked out from plain data so that it can be checked without a file.
#include <cstdint>
#include <vector>

namespace lorvane::settings {

// One step of the walk over the class-name keys.
struct SaveStep {
  enum class Kind { write_entry, write_empty, remove } kind;
  std::int32_t position;
};

// The class-name keys that Save touches, in increasing position: positions 0 to n - 1 get the
// entries, position n the empty value, and stale positions up to the larger of the stored
// count and n are removed. The stored count counts only when it is not 0.
//
// present_positions are the class-name positions the file holds now. A stale position the file
// does not hold needs no removal, so the walk stays as long as the file is, however large a
// damaged count claims to be.
std::vector<SaveStep> save_walk(std::int32_t stored_count, std::int32_t n,
                                const std::vector<std::int32_t>& present_positions);

// One step of the walk over the program keys.
struct ProgramStep {
  enum class Kind { write, remove } kind;
  std::int32_t position;
};

// The program keys that Save touches, in increasing position: each entry with a program gets
// its key, and a key the file holds (present_positions) goes where the entry at its position
// has no program or the position is at or above the count. A key that is not there is never
// written to say that there is none.
std::vector<ProgramStep> program_walk(const std::vector<bool>& has_program,
                                      const std::vector<std::int32_t>& present_positions);

// The positions the start-up load reads, in increasing order: 0 up to and including the count,
// limited to those present in the file (an absent key is skipped anyway). A negative count
// reads like 0, so that a damaged count never hides the first entry.
std::vector<std::int32_t> load_positions(std::int32_t count,
                                         const std::vector<std::int32_t>& present_positions);

}  // namespace lorvane::settings
