#pragma once

namespace kelvarn {

// Names the system's own time zone file in TZ when TZ is unset. Without it the C
// library looks at that file again for every local date-time conversion (Qt asks it
// to), a file system call per date of every list row read or written out.
void pinSystemTimeZone();

} // namespace kelvarn
