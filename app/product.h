#pragma once
// What the program says about itself.

namespace app {

inline constexpr char kTitle[] = "Vorlinde System Cleaner 1.5";
inline constexpr char kApplicationTitle[] = "System Cleaner";
inline constexpr char kVersion[] = "1.5.06";
inline constexpr char kHomePage[] = "http://www.vorlinde.example/cleaner/";
inline constexpr char kAuthorName[] = "Всеволод Линдеманн";
inline constexpr char kAuthorMail[] = "vlindemann@vorlinde.example";
inline constexpr char kFeedbackMail[] = "cleaner@vorlinde.example";

}  // namespace app
