#pragma once
// Where the C++ runtime would raise an exception (a failed allocation, a length or bound check,
// an empty function object called), Lorvane.exe ends at once with an exit code of its own. The
// program catches no exception, so such an exception could only have ended it, through abort;
// ending here, the exe carries no exception machinery. The code tells this end from the one of
// an exception that got past it (abort's 3). Like every failure of the program, it shows no
// message.

namespace lorvane::app {

inline constexpr int runtime_failure_exit_code = 70;

}  // namespace lorvane::app
