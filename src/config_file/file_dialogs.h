#pragma once
// The file save and open dialogs behind one seam, so that tests and batch
// runs need no dialog. An empty name means the dialog was cancelled.

#include <QString>
#include <functional>

class QFileDialog;
class QWidget;

namespace zarven {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QString saveFileName() = 0;
    virtual QString openFileName() = 0;
};

// What a kind of file (configuration files, key files) sets in its dialogs.
struct FileKind {
    QString filter;    // in Russian, e.g. "Конфигурации ЗАРВЕН-4 (*.cfg)"
    QString extension; // without the dot, e.g. "cfg"
    // Translates the filter's text into the window's language.
    std::function<QString(const QString &)> translate;
    // The folder the dialogs open in, and where the folder of a chosen file
    // is kept for the next dialog.
    std::function<QString()> lastFolder;
    std::function<void(const QString &)> rememberFolder;
};

// The name as saved: a file name without an extension gets ".extension";
// a name that has one, any one, is kept as it is.
QString withDefaultExtension(const QString &path, const QString &extension);

// The platform's dialogs, offering the kind's files and all files, opening
// in the last folder used. The save dialog adds the extension to a name
// without one and asks nothing about an existing file: the save does that.
// Escape closes either dialog as a cancel.
class QtFileDialogs : public FileDialogs {
public:
    QtFileDialogs(QWidget *parent, FileKind kind) : parent_(parent), kind_(std::move(kind)) {}
    QString saveFileName() override;
    QString openFileName() override;

private:
    QString run(QFileDialog &dialog);

    QWidget *parent_;
    FileKind kind_;
};

} // namespace zarven
