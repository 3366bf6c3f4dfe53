#include "app/program.h"

#include "app/main_window.h"
#include "store/data_folder.h"

namespace app {

int run_program(ui::Toolkit& toolkit, platform::Platform& platform) {
    const store::DataFolder data(platform.fs, store::DataFolder::folder_of(platform.system.executable_path()));
    MainWindow main(toolkit, platform, data);
    toolkit.run(main);
    return 0;
}

}  // namespace app
