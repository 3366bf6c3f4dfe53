; The installer of Vorlinde System Cleaner. The `release` target builds it
; (cmake/package.cmake) and defines TARGET, VERSION, FILE_VERSION, SOURCE (the
; program folder to install, with its Data folder), ICON and OUTFILE.
Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!define PRODUCT "Vorlinde System Cleaner"
!define PUBLISHER "Vorlinde"
!define PROGRAM "Vorlinde System Cleaner.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlinde System Cleaner"
; The autostart value the program's settings page writes.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Vorlinde SC"
!define RUNNING "Программа ${PRODUCT} запущена.$\r$\nЗакройте её и нажмите «Повторить»."

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!if "${TARGET}" == "amd64-unicode"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!include MUI2.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE_3LINES
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "© ${PUBLISHER}"

Section "Программа" SectionProgram
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${SOURCE}/${PROGRAM}"

  ; The Data folder holds the user's lists and settings: a new version adds
  ; the files that are missing and keeps the ones there.
  SetOutPath "$INSTDIR\Data"
  SetOverwrite off
  File /r "${SOURCE}/Data/*"
  SetOverwrite on
  ; The program writes its settings there, as every user of the computer.
  nsExec::Exec '"$SYSDIR\icacls.exe" "$INSTDIR\Data" /grant *S-1-5-32-545:(OI)(CI)M /T /Q'
  Pop $0

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Ярлык на рабочем столе" SectionDesktop
  SetShellVarContext all
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM}"
SectionEnd

; A running program holds its file: neither install over it nor remove it.
Function .onInit
check:
  FindWindow $0 "VorlindeForm"
  IntCmp $0 0 done
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${RUNNING}" /SD IDCANCEL IDRETRY check
  Abort
done:
FunctionEnd

Function un.onInit
check:
  FindWindow $0 "VorlindeForm"
  IntCmp $0 0 done
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${RUNNING}" /SD IDCANCEL IDRETRY check
  Abort
done:
FunctionEnd

; The uninstaller removes the folder's contents: never install into a drive root.
Function .onVerifyInstDir
  StrLen $0 "$INSTDIR"
  IntCmp $0 3 0 0 +2
    Abort
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\${PROGRAM}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; the update check's download, should one have been left behind
  Delete "$INSTDIR\new.~"
  ; the shortcuts of the installer, then those the settings page writes for the user
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"

  ; The user's settings stay unless the user lets them go (a silent
  ; uninstall keeps them). The program keeps only files in Data: anything
  ; else there is the user's own and stays, and no link is followed.
  StrLen $0 "$INSTDIR"
  IntCmp $0 3 keep keep
  MessageBox MB_YESNO|MB_ICONQUESTION "Сохранить настройки программы (папку Data)?$\r$\n$\r$\nОни пригодятся, если вы установите программу снова." /SD IDYES IDYES keep
  Delete "$INSTDIR\Data\*.*"
  RMDir "$INSTDIR\Data"
keep:
  RMDir "$INSTDIR"
SectionEnd
