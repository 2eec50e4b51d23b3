#include "app/batch_system.h"

#include "app/batch_mode.h"
#include "app/main_window.h"

namespace zarven {

int runDoctorCommand(BatchSession &s)
{
    bool allWell = false;
    s.print(s.form().systemCheckText(&allWell));
    return allWell ? BatchSuccess : BatchExchangeFailed;
}

int runSupportBundleCommand(BatchSession &s)
{
    const QString output = s.requiredOption(QStringLiteral("--output"));
    if (output.isEmpty())
        return BatchUsageError;
    if (!s.form().options.extraPorts.isEmpty())
        s.identify();
    if (!s.run([&] { s.form().writeSupportBundle(output); }))
        return BatchUsageError;
    s.print(s.form().inLanguage(QStringLiteral("Отчёт для поддержки сохранён: %1").arg(output)));
    return BatchSuccess;
}

} // namespace zarven
