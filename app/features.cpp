#include "app/features.h"

#include "app/about_page.h"
#include "duplicates/duplicates_tool.h"
#include "emptydirs/empty_dirs_tool.h"
#include "junk/junk_tools.h"
#include "privacy/privacy_tools.h"
#include "registry/registry_tool.h"
#include "removal/removal_tools.h"
#include "shortcuts/links_tool.h"
#include "startup/startup_tools.h"

namespace app {

namespace {

template <class T>
std::unique_ptr<search::Tool> make(search::ToolContext& context, ui::Page* page) {
    return std::make_unique<T>(context, *page);
}

template <privacy::Store store>
std::unique_ptr<search::Tool> traces(search::ToolContext& context, ui::Page* page) {
    return std::make_unique<privacy::TracesTool>(context, *page, store);
}

template <startup::Hive hive>
std::unique_ptr<search::Tool> startup_list(search::ToolContext& context, ui::Page* page) {
    return std::make_unique<startup::StartupListTool>(context, *page, hive);
}

// "Свернуть в трэй": no page, only the hiding.
class TrayTool : public search::Tool {
public:
    explicit TrayTool(search::ToolContext& context) : hide_(context.hide_to_tray) {}
    void open() override { hide_(); }

private:
    std::function<void()> hide_;
};

std::unique_ptr<search::Tool> tray(search::ToolContext& context, ui::Page*) {
    return std::make_unique<TrayTool>(context);
}

}  // namespace

const std::vector<Feature>& features() {
    static const std::vector<Feature> table = {
        {"Ненужные файлы", "Очистка Temp папок", "Temp Dirs", "TabSheet3_1", make<junk::TempDirsTool>},
        {"Ненужные файлы", "Поиск временных файлов", "Temp Find", "TabSheet3_2", make<junk::TempFindTool>},
        {"Ненужные файлы", "Поиск неправильных ярлыков", "Bad Links", "TabSheet3_3", make<shortcuts::LinksTool>},
        {"Интернет", "Очистка кэша", "Cache", "TabSheet5_1", make<privacy::CacheTool>},
        {"Интернет", "Очистка журнала", "Jurnal", "TabSheet5_2", traces<privacy::Store::history>},
        {"Интернет", "Удаление Cookies", "Cookies", "TabSheet5_3", traces<privacy::Store::cookies>},
        {"Пустые папки", "Поиск пустых папок", "Empty Dirs", "TabSheet6_1", make<emptydirs::EmptyDirsTool>},
        {"Дубликаты", "Поиск копий выбранных файлов", "Duplicates", "TabSheet7_1", make<duplicates::DuplicatesTool>},
        {"Реестр", "Поиск неправильных ссылок", "Reg Find", "TabSheet8_1", make<registry::RegistryTool>},
        {"Реестр", "Очистка истории", "History", "TabSheet8_2", make<privacy::HistoryListsTool>},
        {"Удаление", "Удаление программ", "Uninstall", "TabSheet9_1", make<removal::UninstallTool>},
        {"Удаление", "Полное удаление файлов", "Full Delete", "TabSheet9_2", make<removal::ShredderTool>},
        {"Автозагрузка", "Все пользователи", "Loc Run", "TabSheet10_1", startup_list<startup::Hive::all_users>},
        {"Автозагрузка", "Текущий пользователь", "Cur Run", "TabSheet10_2", startup_list<startup::Hive::current_user>},
        {"Автозагрузка", "Дополнительные настройки", "Run Tools", "TabSheet10_3", make<startup::RunToolsTool>},
        {"Дополнительно", "Настройки программы", "", "TabSheet2_1", make<SettingsTool>},
        {"Дополнительно", "О программе", "", "TabSheet2_2", make<AboutTool>},
        {"Дополнительно", "Свернуть в трэй", "", nullptr, tray},
    };
    return table;
}

}  // namespace app
