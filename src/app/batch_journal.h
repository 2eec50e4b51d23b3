#pragma once
// Batch commands on the journal and on configuration files, without a
// serial port:
//
//   zarven4-config diff A.cfg B.cfg [--workdir DIR]
//     prints the fields that differ between the two files as compare does;
//     exit 0 the same, 3 different, 2 a file that cannot be read or loaded.
//
//   zarven4-config journal [--site TEXT] [--limit N] [--workdir DIR]
//     lists the journal's entries, newest first, one a line; --site keeps
//     those whose site (file) or phone numbers hold TEXT.
//   zarven4-config journal --export ID --output FILE.cfg [--workdir DIR]
//     writes the settings of one entry out as a configuration file.
//     Exit 2 when the journal cannot be opened, the entry does not exist or
//     holds no settings, or the file cannot be written.

namespace zarven {

class BatchSession;

int runDiffCommand(BatchSession &s);
int runJournalCommand(BatchSession &s);

} // namespace zarven
