// Configuration file loader: any file loads without a crash, loading the
// same file again changes nothing, and a file saved from the loaded window
// loads to the same window.

#include "config_file/config_loader.h"
#include "config_file/config_writer.h"
#include "core/errors.h"
#include "core/event_log.h"
#include "core/strings.h"
#include "fuzz_check.h"
#include "panels_fixture.h"
#include "settings/control_names.h"
#include "window_state.h"

using namespace zarven;

namespace {

// The load as the menu runs it, on the window as it is; false when the file
// held a number that does not convert (the load then stops there, by
// design).
bool load(fuzz::PanelsFixture &f, const QByteArray &file)
{
    EventLog log;
    try {
        loadConfiguration(file, f.controls(), log);
    } catch (const ConversionError &) {
        return false;
    }
    runRulesAfterLoad(f.controls());
    return true;
}

// The window as the file carries it: a text cut to the 250 characters a
// line keeps, a message cut to the length its record keeps (25 characters
// for input 1, 40 for the others), a phone box as its
// digits (an empty box is saved as "7"), an output's time only when the
// output is used and assigned and not always on, a disabled sensor as its
// box alone (it is saved as eight "0" lines), and no date-time mode, which
// any loaded date and time turn to manual.
QStringList carried(fuzz::PanelsFixture &f)
{
    const ControlAccess &c = f.controls();
    QStringList s = test::windowState(f.panels());
    QStringList dropped{QStringLiteral("CheckBox4")};
    QStringList outputs;
    for (int input = 1; input <= kInputs; ++input) {
        for (int slot = 0; slot < kOutputsPerInput; ++slot) {
            const OutputControls out = outputControls(input, slot);
            dropped << out.assignment << out.alwaysOn << out.minutes << out.seconds;
            const bool assigned = c.checked(inputControls(input).useOutputs) && c.checked(out.assignment);
            outputs << out.assignment + QLatin1Char('=') + QString::number(assigned);
            if (assigned && !c.checked(out.alwaysOn))
                outputs << QString::number(c.spinNumber(out.minutes) * 60 + c.spinNumber(out.seconds));
            else if (assigned)
                outputs << QStringLiteral("always on");
        }
    }
    for (int sensor = 1; sensor <= kSensors; ++sensor) {
        const SensorControls t = sensorControls(sensor);
        if (!c.checked(t.enabled))
            dropped << t.lower << t.upper << t.keeping << t.output << t.economy << t.comfort << t.autoRegulation;
    }
    s.removeIf([&dropped](const QString &line) { return dropped.contains(line.section(QLatin1Char('='), 0, 0)); });
    for (QString &line : s) {
        line.truncate(line.indexOf(QLatin1Char('=')) + 1 + 250);
        if (line.startsWith(QLatin1String("ME_tel")))
            line = line.left(8) + PhoneDigits(line.mid(8));
        for (int input = 1; input <= kInputs; ++input) {
            const QString prefix = inputControls(input).message + QLatin1Char('=');
            if (line.startsWith(prefix))
                line.truncate(prefix.size() + (input == 1 ? 25 : 40));
        }
    }
    return s + outputs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::PanelsFixture &f = fuzz::PanelsFixture::instance();
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    f.reset();
    if (!load(f, file))
        return 0;
    const QStringList first = carried(f);
    load(f, file);
    FUZZ_CHECK(carried(f) == first, "a second load of the same file changed the window");
    FUZZ_CHECK(load(f, encodeConfiguration(f.controls(), SessionStamp{})), "a saved file does not load");
    FUZZ_CHECK(carried(f) == first, "load, save, load changed the window");
    return 0;
}
