#include "config_file/file_dialogs.h"

#include <QFileDialog>

namespace zarven {

QString QtFileDialogs::saveFileName()
{
    return QFileDialog::getSaveFileName(parent_, QString(), QString(), QString(), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtFileDialogs::openFileName()
{
    return QFileDialog::getOpenFileName(parent_, QString(), QString(), QString());
}

} // namespace zarven
