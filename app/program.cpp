#include "app/program.h"

#include "app/main_window.h"
#include "junk/temp_search_window.h"
#include "store/data_folder.h"

namespace app {

int run_program(ui::Toolkit& toolkit, platform::Platform& platform) {
    const store::DataFolder data(platform.fs, store::DataFolder::folder_of(platform.system.executable_path()));
    MainWindow main(toolkit, platform, data);
    junk::TempSearchWindow temp_search(toolkit, platform, data, main.drives(DriveTool::temp_files), main);
    main.start_temp_search = [&] {
        main.hide();
        temp_search.show_modal();
    };
    toolkit.run(main);
    return 0;
}

}  // namespace app
