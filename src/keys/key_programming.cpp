#include "keys/key_programming.h"

#include "config_file/file_dialogs.h"
#include "core/cp1251.h"
#include "core/event_log.h"
#include "keys/key_file.h"
#include "keys/key_reply_stop.h"

#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QPushButton>
#include <QTimer>

namespace zarven {

namespace {

const QString kNoConnection = QStringLiteral("Нет соединения с устройством. Проверьте подключение");
const QString kNoConnectionForKey = QStringLiteral("Нет соединения с устройством. Необходимо проверить подключение");
const QString kOpenError = QStringLiteral("Ошибка открытия порта. Проверьте подключение");
const QString kNoTable = QStringLiteral(
    "Таблица ключей не получена от прибора. Таблица на экране не показывает ключи прибора; "
    "при записи она заменит все десять ключей прибора.");
const QString kWriteOverQuestion = QStringLiteral("Записать таблицу с экрана в прибор?");
const QString kFileNotFound = QStringLiteral("Файл не найден");
const QString kReadError = QStringLiteral("Ошибка чтения файла");
const QString kWriteError = QStringLiteral("Ошибка записи файла");
const QString kFormatError = QStringLiteral("Ошибка формата файла ключей в строке");

QString badCodeMessage(int row)
{
    return QStringLiteral("Код Ключа №") + QString::number(row) + QStringLiteral(" содержит недопустимые символы");
}

QString stopMarkerMessage(const KeyTableFault &fault)
{
    if (fault.nextRow > 0)
        return QStringLiteral("Ключи №%1 и №%2: конец кода одного и начало описания другого дают байты FF FE "
                              "(конец пакета), прибор обрезал бы таблицу. Измените описание или код.")
            .arg(fault.row)
            .arg(fault.nextRow);
    return QStringLiteral("Ключ №%1: описание или код содержат байты FF FE (конец пакета), прибор обрезал бы "
                          "таблицу. Измените описание или код.")
        .arg(fault.row);
}

bool isWriteState(int state)
{
    return state == ssPrepareKeyWrite || state == ssWriteKeys;
}

} // namespace

KeyProgramming::KeyProgramming(ExchangeCore &core, KeyPanel &panel, QList<QWidget *> lockedPanels,
                               std::unique_ptr<FileDialogs> dialogs, QObject *parent)
    : QObject(parent), core_(core), panel_(panel), locked_(std::move(lockedPanels)), dialogs_(std::move(dialogs))
{
    core_.setRoute(ssReadKeyTable, [this](const QByteArray &Str) { onTable(Str); });
    core_.setRoute(ssReadKey, [this](const QByteArray &Str) { onKeyCode(Str); });
    core_.setRoute(ssPrepareKeyWrite, [this](const QByteArray &Str) { onReady(Str); });
    core_.setRoute(ssWriteKeys, [this](const QByteArray &Str) { onFinal(Str); });
    connect(&core_, &ExchangeCore::responseTimedOut, this, &KeyProgramming::onTimeout);
    connect(&core_, &ExchangeCore::connectionLost, this, &KeyProgramming::onLineLost);
    connect(&core_, &ExchangeCore::stateChanged, this, &KeyProgramming::onStateChanged);
    connect(&core_, &ExchangeCore::exchangeStarting, this, &KeyProgramming::onExchangeStarting);

    const ExchangeWindow &w = core_.window();
    auto run = [this](const std::function<void()> &step) {
        if (core_.window().guarded)
            core_.window().guarded(step);
        else
            step();
    };
    replies_ = std::make_unique<KnownLengthReplies>(
        *w.framer,
        [this]() -> KnownLength {
            switch (core_.state()) {
            case ssReadKeyTable:
                return {kKeyTableBytes, kKeyRecordBytes};
            case ssReadKey:
                return {kKeyCodeBytes, 0};
            default:
                return {};
            }
        },
        w.intervals.keyReplyQuietMs, run);
}

KeyProgramming::~KeyProgramming() = default;

void KeyProgramming::setFileDialogs(std::unique_ptr<FileDialogs> dialogs)
{
    dialogs_ = std::move(dialogs);
}

QString KeyProgramming::translated(const QString &russian) const
{
    const auto &translate = core_.window().translate;
    return translate ? translate(russian) : russian;
}

void KeyProgramming::message(const QString &russian)
{
    core_.window().boxes->plain(translated(russian));
}

void KeyProgramming::later(int ms, std::function<void()> step)
{
    QTimer::singleShot(ms, this, [this, step] {
        if (core_.window().guarded)
            core_.window().guarded(step);
        else
            step();
    });
}

bool KeyProgramming::send(const QByteArray &command, int state, const QString &noConnection)
{
    SendRequest request;
    request.command = command;
    request.state = state;
    request.noConnectionMessage = noConnection;
    return core_.sendCommand(request);
}

void KeyProgramming::openKeyMode()
{
    SendRequest request;
    request.noConnectionMessage = kNoConnection;
    if (!core_.openConnectedPort(request))
        return;
    panel_.keyFrame->setVisible(true);
    panel_.keyFrame->setEnabled(true);
    panel_.keyFrame->raise();
    panel_.keyPrompt->raise();
    panel_.writeHeaders([this](const QString &russian) { return captionInWindowLanguage(core_.window(), russian); });
    for (QWidget *p : locked_)
        p->setEnabled(false);
    tableWhole_ = false;
    core_.armResponse(ssReadKeyTable);
    core_.writeCommand("Cn");
}

void KeyProgramming::onTable(const QByteArray &Str)
{
    // The state stays and responseTimer keeps running: a further packet is parsed
    // again from row 1.
    KeyRows rows = panel_.rows();
    const int parsed = parseKeyTable(Str, rows);
    panel_.setRows(rows);
    // A table in several packets is parsed from row 1 each time, so only a
    // packet of exactly ten records shows the controller's table.
    tableWhole_ = Str.size() == kKeyTableBytes;
    emit tableReceived(parsed);
}

bool KeyProgramming::endTableWait()
{
    if (core_.state() != ssReadKeyTable)
        return false;
    const ExchangeWindow &w = core_.window();
    core_.setState(ssIdle);
    w.responseTimer->stop();
    startIfStopped(w.idleCloseTimer);
    return true;
}

void KeyProgramming::closeMode()
{
    panel_.keyFrame->setEnabled(false);
    panel_.keyFrame->setVisible(false);
    for (QWidget *p : locked_)
        p->setEnabled(true);
}

void KeyProgramming::closeKeyMode()
{
    closeMode();
    // No reply is awaited: the time-out only ends the exchange.
    send("Ur", ssIdle, kNoConnection);
}

void KeyProgramming::readKey(int n)
{
    if (endTableWait() && !tableWhole_)
        message(kNoTable);
    panel_.keyFrame->setEnabled(false);
    panel_.keyPrompt->setVisible(true);
    panel_.keyPrompt->setEnabled(true);
    panel_.keyPrompt->raise();
    panel_.keyPrompt->repaint();
    pendingKeyRow_ = n;
    // Without a line the prompt stays until "Отмена".
    send("Kr", ssReadKey, kNoConnectionForKey);
}

void KeyProgramming::onKeyCode(const QByteArray &Str)
{
    const ExchangeWindow &w = core_.window();
    core_.setState(ssIdle);
    w.responseTimer->stop();
    if (pendingKeyRow_ >= 1 && pendingKeyRow_ <= kKeyRowCount)
        panel_.setCode(pendingKeyRow_, keyCodeText(Str));
    panel_.keyPrompt->setEnabled(false);
    panel_.keyPrompt->setVisible(false);
    panel_.keyFrame->setEnabled(true);
    startIfStopped(w.idleCloseTimer);
}

void KeyProgramming::cancelKeyWait()
{
    core_.keyWaitCancel();
}

void KeyProgramming::writeKeys()
{
    if (writing_)
        return;
    // A table still on its way would replace the user's edits during the
    // pause; without it the grid is not the controller's table.
    if (endTableWait() && !tableWhole_
        && !core_.window().boxes->question(translated(kNoTable + QStringLiteral("\r\n") + kWriteOverQuestion))) {
        emit writeFinished(KeyWriteOutcome::NotConfirmed);
        return;
    }
    writing_ = true;
    const unsigned id = ++writeId_;
    setExchangeButtonsEnabled(false);
    // The pause keeps the window responsive; the steps keep their order.
    later(core_.window().intervals.keyWriteWaitMs, [this, id] {
        if (writeGoesOn(id))
            startWrite();
    });
}

void KeyProgramming::setExchangeButtonsEnabled(bool enabled)
{
    for (QPushButton *b : panel_.readKeyButtons)
        b->setEnabled(enabled);
    panel_.writeKeysButton->setEnabled(enabled);
    panel_.closeKeysButton->setEnabled(enabled);
}

void KeyProgramming::finishWrite(KeyWriteOutcome outcome)
{
    writing_ = false;
    streamPending_ = false;
    setExchangeButtonsEnabled(true);
    emit writeFinished(outcome);
}

void KeyProgramming::onStateChanged(int from, int to)
{
    // The write's exchange is over, however it was left (a reply, the
    // time-out, another exchange): its pending steps stop and the panel's
    // buttons come back at once. Its outcome follows from whoever ended it.
    if (writing_ && isWriteState(from) && !isWriteState(to)) {
        writing_ = false;
        streamPending_ = false;
        setExchangeButtonsEnabled(true);
    }
}

void KeyProgramming::onExchangeStarting(int state)
{
    // The write arms its own two states; any other exchange (the scan or a
    // settings exchange from the menu) replaces it.
    if (!writing_ || isWriteState(state))
        return;
    core_.window().log->add(toCp1251(QStringLiteral("запись ключей прервана другим обменом с прибором")));
    finishWrite(KeyWriteOutcome::Interrupted);
}

bool KeyProgramming::refuse(const KeyRows &rows)
{
    const auto fault = checkKeyTable(rows);
    if (!fault)
        return false;
    message(fault->kind == KeyTableFault::BadCode ? badCodeMessage(fault->row) : stopMarkerMessage(*fault));
    return true;
}

void KeyProgramming::startWrite()
{
    if (refuse(panel_.rows())) {
        finishWrite(KeyWriteOutcome::Refused);
        return;
    }
    if (!send("Wr", ssPrepareKeyWrite, kNoConnection))
        finishWrite(KeyWriteOutcome::NoConnection);
}

void KeyProgramming::endExchangeAfterBox(const QString &text)
{
    const ExchangeWindow &w = core_.window();
    if (w.boxes->confirm(text)) {
        core_.setState(ssIdle);
        if (w.port->Connected())
            w.port->PurgePort(true, true);
        startIfStopped(w.idleCloseTimer);
    }
}

void KeyProgramming::onReady(const QByteArray &Str)
{
    const ExchangeWindow &w = core_.window();
    if (Str == "OK") {
        // A repeated "OK" while the stream is being prepared changes nothing.
        if (streamPending_)
            return;
        w.port->PurgePort(true, true);
        w.responseTimer->stop();
        startIfStopped(w.idleCloseTimer);
        WriteKey_to_Hard();
        return;
    }
    core_.setState(ssIdle);
    w.responseTimer->stop();
    endExchangeAfterBox(QStringLiteral("Ответ о готовности к сохранению ключей некорректен."));
    finishWrite(KeyWriteOutcome::WrongReady);
}

void KeyProgramming::WriteKey_to_Hard()
{
    streamPending_ = true;
    const int pause = core_.window().intervals.keyStreamWaitMs;
    const unsigned id = writeId_;
    later(pause, [this, pause, id] {
        // Another exchange may have taken over meanwhile; it ended the write.
        if (!writeGoesOn(id))
            return;
        // The grid may have been edited since the check before "Wr".
        const KeyRows rows = panel_.rows();
        if (refuse(rows)) {
            streamPending_ = false;
            abandonWrite(KeyWriteOutcome::Refused);
            return;
        }
        const QByteArray stream = keyTableStream(rows, core_.window().shared->PacketStart,
                                                 core_.window().shared->PacketStop);
        later(pause, [this, stream, id] {
            if (writeGoesOn(id))
                sendStream(stream);
        });
    });
}

void KeyProgramming::sendStream(const QByteArray &stream)
{
    streamPending_ = false;
    SendRequest request;
    request.noConnectionMessage = kNoConnection;
    request.openErrorMessage = kOpenError;
    if (!core_.openConnectedPort(request)) {
        abandonWrite(KeyWriteOutcome::NoConnection);
        return;
    }
    core_.armResponse(ssWriteKeys);
    core_.window().port->SendString(stream);
}

void KeyProgramming::abandonWrite(KeyWriteOutcome outcome)
{
    const ExchangeWindow &w = core_.window();
    core_.setState(ssIdle);
    w.responseTimer->stop();
    startIfStopped(w.idleCloseTimer);
    finishWrite(outcome);
}

void KeyProgramming::onFinal(const QByteArray &Str)
{
    core_.setState(ssIdle);
    core_.window().responseTimer->stop();
    const bool confirmed = Str == "Ok";
    if (confirmed) {
        endExchangeAfterBox(QStringLiteral("Процесс записи ключей завершился. Все OK."));
        closeMode();
    } else {
        endExchangeAfterBox(QStringLiteral("Ответ об успешной записи ключей не корректен."));
    }
    finishWrite(confirmed ? KeyWriteOutcome::Confirmed : KeyWriteOutcome::WrongFinal);
}

void KeyProgramming::onTimeout(int state)
{
    switch (state) {
    case ssReadKeyTable:
        panel_.closeKeysButton->setEnabled(true);
        if (!tableWhole_ && !panel_.keyFrame->isHidden())
            message(kNoTable);
        emit tableTimedOut();
        break;
    case ssPrepareKeyWrite:
    case ssWriteKeys:
        finishWrite(KeyWriteOutcome::TimedOut);
        break;
    default:
        break;
    }
}

void KeyProgramming::onLineLost(int state)
{
    switch (state) {
    case ssReadKeyTable:
        panel_.closeKeysButton->setEnabled(true);
        break;
    case ssPrepareKeyWrite:
    case ssWriteKeys:
        panel_.closeKeysButton->setEnabled(true);
        emit writeFinished(KeyWriteOutcome::LineLost);
        break;
    default:
        break;
    }
}

void KeyProgramming::saveKeysToFile()
{
    // Codes the controller will not take are kept as typed, after a warning.
    const QList<int> malformed = malformedCodeRows(panel_.rows());
    if (!malformed.isEmpty()) {
        QStringList rows;
        for (int row : malformed)
            rows << QString::number(row);
        const QString text = translated(QStringLiteral("Коды ключей в строках %1 - не 16 шестнадцатеричных цифр; "
                                                       "прибор такие коды не примет."))
                                 .arg(rows.join(QStringLiteral(", ")));
        if (core_.window().boxes->choose(text, {translated(QStringLiteral("Сохранить всё равно")),
                                                translated(QStringLiteral("Отмена"))})
            != 0)
            return;
    }
    const QString chosen = dialogs_ ? dialogs_->saveFileName() : QString();
    if (!chosen.isEmpty())
        saveKeysTo(keyFileName(chosen));
}

void KeyProgramming::loadKeysFromFile()
{
    const QString chosen = dialogs_ ? dialogs_->openFileName() : QString();
    if (!chosen.isEmpty())
        loadKeysFrom(chosen);
}

bool KeyProgramming::saveKeysTo(const QString &path)
{
    try {
        // Written beside the target first: a failed save keeps the old file.
        writeFileAtomically(path, keyFileContent(panel_.rows()));
    } catch (const FileError &) {
        message(kWriteError);
        return false;
    }
    return true;
}

bool KeyProgramming::loadKeysFrom(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        message(kFileNotFound);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        message(kReadError);
        return false;
    }
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        message(kReadError);
        return false;
    }
    KeyRows rows = panel_.rows();
    const KeyFileLoad load = loadKeyFile(content, rows);
    // Rows read before a format error keep their new texts.
    panel_.setRows(rows);
    if (!load.ok) {
        core_.window().boxes->plain(kFormatError + QLatin1Char(' ') + QString::number(load.errorLine));
        return false;
    }
    return true;
}

} // namespace zarven
