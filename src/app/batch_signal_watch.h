#pragma once
// zarven4-config signal --watch [--interval S] [--count N] [--csv FILE]:
// the signal monitor without a window. A line per reading
// ("14:03:07  CSQ 17  -79 dBm  54%  хорошо"), every reading also a row of
// the CSV file when one is named. The count or Ctrl-C (SIGINT) ends it with
// the min / avg / max line and exit 0; a first reading without a level ends
// it with exit 1 at once, a later time-out or a lost line with the line and
// exit 1.

namespace zarven {

class BatchSession;

int runSignalWatch(BatchSession &s);

} // namespace zarven
