#pragma once
// A main window for the settings-format tests: scripted message boxes and
// file dialogs, a temporary program folder, no serial ports, the clock
// stopped. Also the rich window state that the golden files hold.

#include "file_bytes.h"

#include "app/main_window.h"
#include "config_file/file_dialogs.h"
#include "core/message_boxes.h"
#include "settings/control_access.h"

#include <QStringList>
#include <QTemporaryDir>
#include <initializer_list>
#include <memory>

namespace zarven::test {

// Answers the file dialogs from queues; an empty queue answers "cancelled".
class ScriptedFileDialogs : public FileDialogs {
public:
    QString saveFileName() override;
    QString openFileName() override;

    QStringList saveNames;
    QStringList openNames;
    int saveAsked = 0;
    int openAsked = 0;
};

class FormatsWindow {
public:
    FormatsWindow();
    ~FormatsWindow();

    MainWindow &form() { return *form_; }
    ControlAccess &controls();
    ScriptedFileDialogs &dialogs() { return *dialogs_; }
    // A path in the window's program folder.
    QString path(const QString &name) const;
    QStringList log() const { return form_->eventLog.textLines(); }

    ScriptedMessageBoxes boxes;
    QTemporaryDir dir;

private:
    std::unique_ptr<MainWindow> form_;
    ScriptedFileDialogs *dialogs_ = nullptr;
};

// Sets a window state that uses every record and field kind with values away
// from the defaults: inputs 1, 2 and 4 active (input 1 as in the record
// example), input 3 inactive with text, sensor 1 with keeping, sensor 2
// disabled, five different telephone boxes, options away from their
// defaults, a manual date and time with a one-digit hour, delays.
void applyRichState(ControlAccess &c);

// Bytes given by their values, for records and packets written out in tests.
QByteArray bytes(std::initializer_list<int> values);

// A file of tests/data (each test executable knows the folder).
#ifdef ZARVEN_TEST_DATA
inline QString testDataPath(const QString &name)
{
    return QStringLiteral(ZARVEN_TEST_DATA "/") + name;
}
#endif

} // namespace zarven::test
