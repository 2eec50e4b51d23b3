#include "journal/journal_recorder.h"

#include "config_file/config_writer.h"
#include "settings/control_access.h"
#include "settings/control_names.h"

namespace zarven {

QString phoneNumbersOf(const ControlAccess &settings)
{
    QStringList numbers;
    for (int i = 1; i <= kPhones; ++i) {
        const QString number = settings.text(phoneControl(i)).trimmed();
        if (number.size() > 1)
            numbers.append(number);
    }
    return numbers.join(QLatin1Char(' '));
}

JournalRecorder::JournalRecorder(std::function<QString()> path, JournalSource source,
                                 std::function<void(const QString &)> reporter, QObject *parent)
    : QObject(parent), path_(std::move(path)), source_(std::move(source)), reporter_(std::move(reporter))
{
}

JournalStore &JournalRecorder::store()
{
    if (!tried_) {
        tried_ = true;
        store_.open(path_());
    }
    return store_;
}

void JournalRecorder::reportOnce()
{
    if (reported_)
        return;
    reported_ = true;
    if (reporter_)
        reporter_(store_.lastError());
}

qint64 JournalRecorder::record(JournalOperation op, const ControlAccess *settings, const QByteArray &image,
                               int fieldsChanged, const QString &result)
{
    if (!store().isOpen()) {
        reportOnce();
        return 0;
    }
    auto value = [](const std::function<QString()> &f) { return f ? f() : QString(); };
    JournalEntry e;
    e.time = QDateTime::currentDateTime();
    e.operation = op;
    e.port = value(source_.port);
    e.adapter = value(source_.adapter);
    e.version = value(source_.version);
    e.site = value(source_.site);
    if (settings) {
        e.settings = encodeConfiguration(*settings, sessionStamp(e.time));
        e.phones = phoneNumbersOf(*settings);
    }
    e.image = image;
    e.fieldsChanged = fieldsChanged;
    e.result = result;
    const qint64 id = store_.add(e);
    if (id == 0)
        reportOnce();
    else
        emit entryAdded(id);
    return id;
}

} // namespace zarven
