#pragma once
// What the program says about itself.

#include "app/version.h"

namespace app {

inline constexpr char kTitle[] = "Vorlinde System Cleaner " VORLINDE_VERSION_SHORT;
inline constexpr char kApplicationTitle[] = "System Cleaner";
inline constexpr char kVersion[] = VORLINDE_VERSION_TEXT;
// The build number the update check compares: the version's last two digits.
inline constexpr int kBuild = VORLINDE_VERSION_PATCH;
// The update server: its history file and the download it offers.
inline constexpr char kUpdateServer[] = "http://update.vorlinde.example";
inline constexpr char kHistoryPath[] = "/projects/QMT/history.txt";
inline constexpr char kDownloadPath[] = "/projects/QMT/Vorlinde_sc.exe";
// The executable's fixed file name, which autostart and the shortcuts name.
inline constexpr char kExecutableName[] = "Vorlinde System Cleaner.exe";
inline constexpr char kHomePage[] = "http://www.vorlinde.example/cleaner/";
inline constexpr char kAuthorName[] = "Всеволод Линдеманн";
inline constexpr char kAuthorMail[] = "vlindemann@vorlinde.example";
inline constexpr char kFeedbackMail[] = "cleaner@vorlinde.example";

}  // namespace app
