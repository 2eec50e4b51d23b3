#pragma once
// The batch commands about the machine rather than the controller:
//
//   zarven4-config doctor [--port DEV ...]
//   zarven4-config support-bundle --output FILE.zip [--port DEV ...]
//
// doctor prints the system check's report (as "Проверка системы" shows it)
// and exits 0 when every finding is fine, 1 when something needs fixing.
// support-bundle writes the support zip; with --port it first looks for the
// controller there, so the bundle's trace holds that exchange whatever its
// outcome. Exit 0 when the zip was written, 2 when it could not be.

namespace zarven {

class BatchSession;

int runDoctorCommand(BatchSession &s);
int runSupportBundleCommand(BatchSession &s);

} // namespace zarven
