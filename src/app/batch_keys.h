#pragma once
// The batch commands of the key programming mode:
//
//   zarven4-config read-keys  --port DEV --output FILE.key
//   zarven4-config write-keys --port DEV --input FILE.key
//
// Both identify the controller, open the mode ("Cn") and wait for the whole
// key table (250 bytes) or the response time-out. read-keys saves the table
// as a key file and leaves with "Ur"; write-keys loads the key file into the
// grid and writes the table, succeeding only on the controller's "Ok".

namespace zarven {

class BatchSession;

int runReadKeysCommand(BatchSession &s);
int runWriteKeysCommand(BatchSession &s);

} // namespace zarven
