; The Windows installer of Dormix, for makensis. It puts dormix.exe into the
; 32-bit Program Files with a Start-menu shortcut, and registers an
; uninstaller in Add/Remove Programs. Its finish page can start Dormix as
; the logged-on user. The uninstaller ends a running Dormix, removes its
; autostart entries (the machine's and the user's) and keeps its settings
; unless asked: the "Dormix's settings" component, or /REMOVESETTINGS on the
; command line (for a silent uninstall, /S /REMOVESETTINGS).
;
; Built by dist/CMakeLists.txt:
;   makensis -DVERSION=1.1.0 -DEXE=... -DLICENSE=... -DICON=... -DPICTURE=... -DOUTFILE=... installer.nsi

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dormix"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Velto Software\Dormix"
!define FILE_MAP_READ 4

Name "Dormix"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Dormix"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Dormix ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Dormix"
VIAddVersionKey "CompanyName" "Velto Software"
VIAddVersionKey "LegalCopyright" "Velto Software"
VIAddVersionKey "FileDescription" "Dormix ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PICTURE}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunAsUser
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; A running Dormix holds the file mapping "Dormix" until its process ends, and
; ends cleanly when its main window (class TForm1, caption "Dormix") is
; closed. While the options window is open a close message closes only that
; window, so the message is repeated every second until the process is gone.
; One that does not end within ten seconds is left to the user; a silent run
; gives up.
!macro DEFINE_END_DORMIX prefix
Function ${prefix}EndDormix
  StrCpy $R1 0
  ${Do}
    System::Call 'kernel32::OpenFileMappingW(i ${FILE_MAP_READ}, i 0, w "Dormix") p .R0'
    ${If} $R0 P= 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p R0)'
    ${If} $R1 >= 100
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Dormix is still running and did not close.$\nEnd it from its tray menu, then choose Retry." /SD IDCANCEL IDRETRY retry
      Abort "Dormix is still running."
      retry:
      StrCpy $R1 0
    ${EndIf}
    IntOp $R2 $R1 % 10
    FindWindow $R0 "TForm1" "Dormix"
    ${If} $R2 = 0
    ${AndIf} $R0 P<> 0
      System::Call 'user32::PostMessageW(p R0, i ${WM_CLOSE}, p 0, p 0)'
    ${EndIf}
    Sleep 100
    IntOp $R1 $R1 + 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_END_DORMIX ""
!insertmacro DEFINE_END_DORMIX "un."

Section "-Program"
  Call EndDormix
  SetOutPath "$INSTDIR"
  File "/oname=dormix.exe" "${EXE}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Dormix.lnk" "$INSTDIR\dormix.exe"
  ; The first start after an install says again where Dormix runs.
  DeleteRegValue HKLM "${SETTINGS_KEY}" "Introduced"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Dormix"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Velto Software"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\dormix.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The installer runs elevated, and a Dormix started from it would run with
; its rights: it would write the machine's entries for everyone and run apart
; from the user's own programs. Explorer runs as the logged-on user and starts
; the program it is given as that user.
Function RunAsUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\dormix.exe"'
FunctionEnd

Section "-un.Program"
  Call un.EndDormix
  DeleteRegValue HKLM "${RUN_KEY}" "Dormix"
  DeleteRegValue HKCU "${RUN_KEY}" "Dormix"
  Delete "$SMPROGRAMS\Dormix.lnk"
  ; Dormix closes its guard a moment before its process lets go of its file.
  StrCpy $R1 0
  ${Do}
    Delete "$INSTDIR\dormix.exe"
    ${IfNot} ${FileExists} "$INSTDIR\dormix.exe"
    ${OrIf} $R1 >= 50
      ${ExitDo}
    ${EndIf}
    Sleep 100
    IntOp $R1 $R1 + 1
  ${Loop}
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

; Dormix run by a standard user on Windows with UAC keeps its settings in
; that user's virtual store, not in HKLM: both go.
Section /o "un.Dormix's settings (clock, shortcuts, password)" SecSettings
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Velto Software"
  DeleteRegKey HKCU "Software\Classes\VirtualStore\MACHINE\SOFTWARE\Velto Software\Dormix"
  DeleteRegKey HKCU "Software\Classes\VirtualStore\MACHINE\SOFTWARE\WOW6432Node\Velto Software\Dormix"
SectionEnd

; Last, so that Add/Remove Programs lists Dormix until every other step is done.
Section "-un.Registration"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecSettings}
  ${EndIf}
FunctionEnd
