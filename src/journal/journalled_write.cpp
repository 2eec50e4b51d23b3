#include "journal/journalled_write.h"

#include "journal/journal_recorder.h"
#include "settings/image_fields.h"

namespace zarven {

QStringList writePreviewLines(const WritePreview &preview, const TextTranslator &tr)
{
    QStringList lines;
    if (!preview.controllerRead) {
        lines << tr(QStringLiteral("Настройки прибора прочитать не удалось: будут записаны все настройки окна."));
        return lines;
    }
    if (preview.differences.isEmpty()) {
        lines << tr(QStringLiteral("Настройки прибора совпадают с окном: запись не нужна"));
        return lines;
    }
    for (const FieldDifference &d : preview.differences)
        lines << differenceLine(d, tr);
    lines << tr(QStringLiteral("Будет изменено полей: %1")).arg(preview.differences.size());
    return lines;
}

JournalledWrite::JournalledWrite(ExchangeCore &core, SettingsRead &read, SettingsWrite &write, SettingsCompare &compare,
                                 ControlAccess window, JournalRecorder &journal, QObject *parent)
    : QObject(parent), core_(core), write_(write), window_(window), journal_(journal), snapshot_(core, read)
{
    connect(&snapshot_, &ControllerSnapshot::finished, this, &JournalledWrite::snapshotTaken);
    connect(&write_, &SettingsWrite::writeFinished, this, &JournalledWrite::writeDone);
    connect(&compare, &SettingsCompare::finished, this, &JournalledWrite::checkDone);
    // A line lost during the write or its check ends this write; what was
    // sent is journalled, since the controller may hold part of it.
    connect(&core_, &ExchangeCore::connectionLost, this, [this] {
        if (!active_ || !writing_)
            return;
        recordWritten(QString::fromUtf8(journal_result::kLineLost));
        active_ = false;
        emit finished(WriteOutcome::NoConnection, false);
    });
}

void JournalledWrite::start()
{
    if (write_.refuses()) {
        emit finished(WriteOutcome::Refused, false);
        return;
    }
    // The port is opened with the write's own messages; the read before
    // the write then goes out on it.
    if (!core_.openConnectedPort(write_.request())) {
        emit finished(WriteOutcome::NoConnection, false);
        return;
    }
    active_ = true;
    writing_ = false;
    checking_ = false;
    fieldsChanged_ = -1;
    snapshot_.start();
}

void JournalledWrite::snapshotTaken(ControllerSnapshot::Outcome outcome)
{
    if (!active_ || writing_)
        return;
    WritePreview preview;
    QString result;
    switch (outcome) {
    case ControllerSnapshot::Outcome::NoConnection:
        active_ = false;
        emit finished(WriteOutcome::NoConnection, false);
        return;
    case ControllerSnapshot::Outcome::LineLost:
        active_ = false;
        emit finished(WriteOutcome::NoConnection, false);
        return;
    case ControllerSnapshot::Outcome::Replaced:
        // Another exchange was started meanwhile: this write is abandoned
        // before anything was written.
        active_ = false;
        emit finished(WriteOutcome::NoConnection, true);
        return;
    case ControllerSnapshot::Outcome::Read:
        preview.controllerRead = true;
        // What the controller holds, byte for byte, against what the
        // write would send.
        preview.differences = compareImages(imageLayout(window_).image, snapshot_.reply()).differences;
        fieldsChanged_ = int(preview.differences.size());
        result = QString::fromUtf8(journal_result::kOk);
        break;
    case ControllerSnapshot::Outcome::EmptyMemory:
        result = QString::fromUtf8(journal_result::kEmptyMemory);
        break;
    case ControllerSnapshot::Outcome::NoReply:
        result = QString::fromUtf8(journal_result::kNoReply);
        break;
    }
    journal_.record(JournalOperation::Replaced, preview.controllerRead ? &snapshot_.settings().controls() : nullptr,
                    snapshot_.reply(), fieldsChanged_, result);
    if (preview_ && !preview_(preview)) {
        active_ = false;
        emit finished(WriteOutcome::Refused, true);
        return;
    }
    writing_ = true;
    checking_ = verifying_ && verifying_();
    write_.writeSettings();
}

void JournalledWrite::writeDone(WriteOutcome outcome)
{
    if (!active_ || !writing_)
        return;
    switch (outcome) {
    case WriteOutcome::Acknowledged:
        if (checking_)
            return; // journalled when the check has ended
        recordWritten(QString::fromUtf8(journal_result::kNotVerified));
        break;
    case WriteOutcome::WrongReply:
        recordWritten(QString::fromUtf8(journal_result::kWrongReply));
        break;
    case WriteOutcome::TimedOut:
        recordWritten(QString::fromUtf8(journal_result::kNoReply));
        break;
    case WriteOutcome::Refused:
    case WriteOutcome::NoConnection:
        break;
    }
    active_ = false;
    emit finished(outcome, false);
}

void JournalledWrite::checkDone(CompareOutcome outcome)
{
    if (!active_ || !checking_)
        return;
    switch (outcome) {
    case CompareOutcome::Same:
        recordWritten(QString::fromUtf8(journal_result::kVerified));
        break;
    case CompareOutcome::Different:
        recordWritten(QString::fromUtf8(journal_result::kVerifyDiffers));
        break;
    case CompareOutcome::EmptyMemory:
        recordWritten(QString::fromUtf8(journal_result::kVerifyEmpty));
        break;
    default:
        recordWritten(QString::fromUtf8(journal_result::kVerifyNoReply));
        break;
    }
    active_ = false;
    emit finished(WriteOutcome::Acknowledged, false);
}

void JournalledWrite::recordWritten(const QString &result)
{
    journal_.record(JournalOperation::Written, &window_, write_.writtenImage(), fieldsChanged_, result);
}

} // namespace zarven
