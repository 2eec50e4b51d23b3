#include "app/main_window.h"
#include "config_file/config_files.h"
#include "config_file/file_dialogs.h"

#include <QAction>

namespace zarven {

void TForm1::wireConfigFiles()
{
    configFiles = std::make_unique<ConfigFiles>(ControlAccess(*panels), shared, Memo1, boxes,
                                                std::make_unique<QtFileDialogs>(this));
    connect(N3, &QAction::triggered, this, [this] { guarded([this] { configFiles->N3Click(); }); });
    connect(N4, &QAction::triggered, this, [this] { guarded([this] { configFiles->N4Click(); }); });
}

} // namespace zarven
