#pragma once
// The key programming mode: opening it fetches the controller's key table
// with "Cn" into the grid; a row's "Читать Ключ" asks the reader for a code
// with "Kr"; "Сохранить " writes the table in two steps ("Wr", the ready
// reply "OK", the key table stream, the final reply "Ok"); the file frame
// saves and loads key files; "Отменить" leaves with "Ur". The exchanges run
// on the window's ExchangeCore: each registers its reply route for its state
// and ends in ssIdle, by its reply or by the response time-out.

#include "exchange/exchange_core.h"
#include "keys/key_panel.h"
#include "keys/key_table.h"

#include <QList>
#include <QObject>
#include <memory>

class QWidget;

namespace zarven {

class FileDialogs;
class KnownLengthReplies;

// How a key table write ended.
enum class KeyWriteOutcome {
    Confirmed,    // "Ok": the controller holds the table
    Refused,      // a row failed the check; nothing was sent
    NoConnection, // no controller found or the port would not open
    WrongReady,   // the reply to "Wr" was not "OK"
    WrongFinal,   // the reply to the table was not "Ok"
    TimedOut,     // no reply to "Wr" or to the table
    LineLost,     // the line was lost before the final reply
};

class KeyProgramming : public QObject {
    Q_OBJECT
public:
    // lockedPanels: the panels the open mode disables, in order.
    KeyProgramming(ExchangeCore &core, KeyPanel &panel, QList<QWidget *> lockedPanels,
                   std::unique_ptr<FileDialogs> dialogs, QObject *parent = nullptr);
    ~KeyProgramming() override;

    KeyPanel &panel() { return panel_; }
    void setFileDialogs(std::unique_ptr<FileDialogs> dialogs);

    // "Программирование ключей ТМ" and "Программировать ключи".
    void openKeyMode();
    // "Отменить".
    void closeKeyMode();
    // "Читать Ключ" of row n (1 to 10).
    void readKey(int n);
    // "Отмена" of the key prompt.
    void cancelKeyWait();
    // "Сохранить ": the write, after a one-second pause.
    void writeKeys();
    // "Сохранить ключи в файл" and "Читать ключи из файла".
    void saveKeysToFile();
    void loadKeysFromFile();

    // The file operations without a dialog; false after their message.
    bool saveKeysTo(const QString &path);
    bool loadKeysFrom(const QString &path);

    // Payload bytes of the longest table reply since the mode was opened.
    int tableBytesReceived() const { return tableBytes_; }

signals:
    // A table reply was put into the grid.
    void tableReceived(int bytesParsed);
    // The wait for the table ended by the time-out.
    void tableTimedOut();
    void writeFinished(KeyWriteOutcome outcome);

private:
    // The sending sequence for a command; false after the message when
    // there is no line.
    bool send(const QByteArray &command, int state, const QString &noConnection);
    void startWrite();
    void WriteKey_to_Hard();
    void sendStream(const QByteArray &stream);
    void onTable(const QByteArray &Str);
    void onKeyCode(const QByteArray &Str);
    void onReady(const QByteArray &Str);
    void onFinal(const QByteArray &Str);
    void onTimeout(int state);
    // A lost line ended the exchange of `state`: "Отменить" usable again.
    void onLineLost(int state);
    // Ends a write that cannot go on: idle, "Отменить" usable, idle close.
    void abandonWrite(KeyWriteOutcome outcome);
    bool refuse(const KeyRows &rows);
    void closeMode();
    // A confirmation box; answered Yes, the exchange ends and the port goes
    // to the idle close.
    void endExchangeAfterBox(const QString &text);
    void later(int ms, std::function<void()> step);
    QString translated(const QString &russian) const;
    void message(const QString &russian);

    ExchangeCore &core_;
    KeyPanel &panel_;
    QList<QWidget *> locked_;
    std::unique_ptr<FileDialogs> dialogs_;
    std::unique_ptr<KnownLengthReplies> replies_;
    int pendingKeyRow_ = 0;
    int tableBytes_ = 0;
    bool writeStarting_ = false; // between "Сохранить " and "Wr"
    bool streamPending_ = false; // between "OK" and the table stream
};

} // namespace zarven
