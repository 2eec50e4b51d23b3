#include "app/batch_formats.h"

#include "app/batch_mode.h"
#include "app/main_window.h"
#include "config_file/config_files.h"
#include "core/strings.h"
#include "editor/settings_panels.h"
#include "keys/key_programming.h"
#include "sheet/config_sheet.h"
#include "sheet/sheet_printer.h"
#include "settings/image_encoder.h"
#include "settings/image_reader.h"

#include <QFile>

namespace zarven {

int runEncodeCommand(BatchSession& s)
{
    const QString input = s.requiredOption(QStringLiteral("--input"));
    if (input.isEmpty())
        return BatchUsageError;
    ConfigFiles& files = *s.form().configFiles;
    bool loaded = false;
    if (!s.run([&] { loaded = files.loadFrom(input); }) || !loaded)
        return BatchUsageError;
    s.print(BytesToHex(encodeWriteStream(files.controls(), s.form().shared)));
    return BatchSuccess;
}

int runDecodeCommand(BatchSession& s)
{
    const QString imagePath = s.requiredOption(QStringLiteral("--image"));
    if (imagePath.isEmpty())
        return BatchUsageError;
    const QString output = s.requiredOption(QStringLiteral("--output"));
    if (output.isEmpty())
        return BatchUsageError;

    QFile file(imagePath);
    if (!file.open(QIODevice::ReadOnly)) {
        s.printError(QStringLiteral("zarven4-config: cannot read %1: %2").arg(imagePath, file.errorString()));
        return BatchUsageError;
    }
    const QByteArray image = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        s.printError(QStringLiteral("zarven4-config: cannot read %1: %2").arg(imagePath, file.errorString()));
        return BatchUsageError;
    }

    MainWindow& form = s.form();
    ConfigFiles& files = *form.configFiles;
    bool decoded = s.run([&] { files.controls().panels().cleanPanel(); });
    if (decoded) {
        const auto printer
            = QObject::connect(&form.eventLog, &EventLog::lineAdded, [&s](const QString& line) { s.print(line); });
        decoded = s.run([&] { decodeSettingsImage(image, files.controls(), form.eventLog); });
        QObject::disconnect(printer);
    }
    if (!decoded || !s.run([&] { files.writeFile(output); }))
        return BatchUsageError;
    return BatchSuccess;
}

int runPrintCommand(BatchSession& s)
{
    const QString input = s.requiredOption(QStringLiteral("--input"));
    if (input.isEmpty())
        return BatchUsageError;
    const QString output = s.requiredOption(QStringLiteral("--output"));
    if (output.isEmpty())
        return BatchUsageError;
    MainWindow& form = s.form();
    bool loaded = false;
    if (!s.run([&] { loaded = form.configFiles->loadFrom(input); }) || !loaded)
        return BatchUsageError;
    const QString keyFile = s.option(QStringLiteral("--keys"));
    if (!keyFile.isEmpty() && (!s.run([&] { loaded = form.keys->loadKeysFrom(keyFile); }) || !loaded))
        return BatchUsageError;
    if (!s.run([&] {
            const ConfigSheet sheet = form.configSheet(input);
            writeSheetPdf(sheetHtml(sheet), output, sheet.title);
        }))
        return BatchUsageError;
    s.print(form.inLanguage(QStringLiteral("Карта настроек сохранена: %1")).arg(output));
    return BatchSuccess;
}

} // namespace zarven
