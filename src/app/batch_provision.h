#pragma once
// A series of controllers from one template and a table of sites:
//
//   zarven4-config provision --template T.cfg --sites S.csv [--keys K.key]
//                  [--report R.csv] [--port DEV]... [--resume] [--workdir DIR]
//   zarven4-config provision --columns
//
// The whole table is checked first, against the template and the write's
// own checks; a problem is printed with its line and column and nothing is
// written (exit 2). Then every site in order: the controller is asked for,
// awaited on the --port devices (without them: a newly plugged adapter),
// identified, its settings journalled, the template with the row written and
// read back byte for byte, the keys written and read back, a row appended to
// the report, and the controller awaited off the line. A failed unit is
// tried again on Enter, skipped on "s" (skipped at once when standard input
// is no terminal). --resume skips the sites the report has as ok. Ctrl-C ends
// the series after the unit under way, with the summary.
//
// Exit status: 0 every site ok; 1 some site not ok; 2 a usage, file or table
// error.

namespace zarven {

class BatchSession;

int runProvisionCommand(BatchSession &session);

} // namespace zarven
