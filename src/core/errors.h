#pragma once
// Errors the program raises. Every error carries the text that the window's
// default error report shows; handlers catch only where an operation says so.

#include <QString>
#include <exception>

namespace zarven {

class AppError : public std::exception {
public:
    explicit AppError(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString &message() const { return message_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// The integer text conversion's error: "'%s' is not a valid integer value".
class ConversionError : public AppError {
public:
    explicit ConversionError(const QString &text);
};

// A file that cannot be read or written.
class FileError : public AppError {
public:
    using AppError::AppError;
};

// The text the default error report shows for an error's message: a full
// stop is appended when the text's last character sorts after the full stop.
QString errorReportText(const QString &message);

} // namespace zarven
