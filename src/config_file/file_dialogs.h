#pragma once
// The file save and open dialogs of the configuration files behind one seam,
// so that tests and batch runs need no dialog. An empty name means the
// dialog was cancelled.

#include <QString>

class QWidget;

namespace zarven {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QString saveFileName() = 0;
    virtual QString openFileName() = 0;
};

// The platform's dialogs: no title, no file type filter, no default
// extension, no starting folder; the name is taken exactly as given. The
// save dialog asks nothing about an existing file, the save does that.
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget *parent) : parent_(parent) {}
    QString saveFileName() override;
    QString openFileName() override;

private:
    QWidget *parent_;
};

} // namespace zarven
