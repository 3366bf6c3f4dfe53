#pragma once
// What the program says about itself.

#include "app/version.h"

namespace app {

inline constexpr char kTitle[] = "Vorlinde System Cleaner " VORLINDE_VERSION_SHORT;
inline constexpr char kApplicationTitle[] = "System Cleaner";
inline constexpr char kVersion[] = VORLINDE_VERSION_TEXT;
inline constexpr char kHomePage[] = "http://www.vorlinde.example/cleaner/";
inline constexpr char kAuthorName[] = "Всеволод Линдеманн";
inline constexpr char kAuthorMail[] = "vlindemann@vorlinde.example";
inline constexpr char kFeedbackMail[] = "cleaner@vorlinde.example";

}  // namespace app
