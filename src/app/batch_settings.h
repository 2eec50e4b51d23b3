#pragma once
// Batch commands that exchange the settings with the controller, on the
// window's own read and write handlers.
//
//   zarven4-config read-settings --port DEV --output FILE.cfg [--workdir DIR]
//     Finds the controller, reads its settings into the window and saves the
//     window to FILE, replacing it only when the whole file is written. The
//     batch run's hidden window is not backed up: save.000 keeps the user's
//     window. A controller with an empty settings memory writes no file (the
//     restore question is answered No); nor does a reply cut short inside a
//     record, whose log entries are printed (exit 1).
//
//   zarven4-config write-settings --port DEV --input FILE.cfg [--now] [--verify] [--preview] [--workdir DIR]
//     Finds the controller, loads FILE as the menu's load does (LoadFile.rep
//     included) with the date and time taken from the file, or with --now
//     from the clock. Settings a write would refuse are refused here, before
//     anything is sent after the identification. The controller's settings
//     are then read ("Pt") and journalled as the ones the write replaces;
//     with --preview the fields the write would change are printed (exit 3
//     when there are any, 0 when none) and nothing is written. Otherwise the
//     settings are written and the acknowledgement awaited; the write is
//     journalled with its result.
//     With --verify the acknowledged settings are read back and compared
//     with what was written; differences are printed as compare prints them
//     and exit with 3.
//
// Exit status: 0 success; 1 no controller, no reply, a wrong reply, an empty
// memory, or a write refused because the settings cannot be encoded; 2 a
// usage error or a file that cannot be read or written.

class QString;

namespace zarven {

class BatchSession;

// Loads FILE into the window as the menu's load does, the date and time from
// the file, or with --now from the clock. False after the load's message.
bool loadSettingsFile(BatchSession& session, const QString& input);

int runReadSettingsCommand(BatchSession& session);
int runWriteSettingsCommand(BatchSession& session);

} // namespace zarven
