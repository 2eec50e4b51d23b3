#pragma once
// Offline batch commands on the settings formats, for support work on
// captured data and for checking the codecs from outside. Neither touches a
// serial port.
//
//   zarven4-config encode --input FILE.cfg [--workdir DIR]
//     From the window's start-up state, loads the configuration file as the
//     menu's load does (LoadFile.rep included) and prints the whole write
//     stream (markers, 99 99, records) as upper-case hex on one line.
//
//   zarven4-config decode --image FILE --output FILE.cfg [--workdir DIR]
//     From the window's start-up state, resets the window, decodes the
//     settings image held in FILE (raw bytes, the content between the
//     markers), prints every log line the decoding adds, and saves the window
//     as a configuration file, replacing an existing one.
//
//   zarven4-config print --input FILE.cfg --output FILE.pdf [--keys FILE.key]
//     From the window's start-up state, loads the configuration file (and
//     the key file into the key grid) and writes the configuration sheet,
//     in the --language given, as a PDF file, replacing an existing one.
//
// Exit status: 0 success; 2 a usage error or a file that cannot be read,
// loaded or written.

#include <QString>

namespace zarven {

class BatchSession;

int runEncodeCommand(BatchSession &session);
int runDecodeCommand(BatchSession &session);
int runPrintCommand(BatchSession &session);

} // namespace zarven
