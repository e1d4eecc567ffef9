; The per-user installer of Amperlog (NSIS 3), made by scripts/package-windows.sh, which
; defines VERSION, VERSION4 (four numbers), OUTFILE and FILES: an include it writes from the
; program folder's contents with the macros AmperlogInstallFiles and AmperlogRemoveFiles and
; the size AMPERLOG_SIZE_KB, so every file installed is one the uninstaller removes; and ICON,
; the program's icon, when the folder has one.
;
; Command line: /S silent, /D=<folder> another folder (last, unquoted), /LOGIN starts the
; program at login (the section "Start at login"). The uninstaller removes what was installed
; and keeps the user's settings and logs, which the program writes into its own folder.

!macro Require name
  !ifndef ${name}
    !error "${name} is not defined: scripts/package-windows.sh makes the installer"
  !endif
!macroend
!insertmacro Require VERSION
!insertmacro Require VERSION4
!insertmacro Require OUTFILE
!insertmacro Require FILES

Unicode true
; 64-bit like the program; a 32-bit installer would also need Wine's 32-bit half to be checked.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "${FILES}"
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Amperlog"
; The value the program's own "Start at login" reads and writes, and Task Manager's switch.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
!define RUN_VALUE "Amperlog"

Name "Amperlog"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Amperlog"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Amperlog ${VERSION}"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "Amperlog"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Amperlog ${VERSION} Setup"
VIAddVersionKey /LANG=0 "CompanyName" "Amperlog"
VIAddVersionKey /LANG=0 "LegalCopyright" "Amperlog"

!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Amperlog.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; Windows' display language chooses between them.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString SectionProgram ${LANG_ENGLISH} "Amperlog"
LangString SectionProgram ${LANG_JAPANESE} "Amperlog"
LangString SectionLogin ${LANG_ENGLISH} "Start at login"
LangString SectionLogin ${LANG_JAPANESE} "ログイン時に起動"
LangString Running ${LANG_ENGLISH} "Amperlog is running from $INSTDIR.$\r$\nClose its window (the close button at its top right, or Shift+F4), then choose Retry."
LangString Running ${LANG_JAPANESE} "$INSTDIR の Amperlog が実行中です。$\r$\nAmperlog のウィンドウを閉じて (右上の閉じるボタンまたは Shift+F4)、「再試行」を選んでください。"
LangString OldUninstallFailed ${LANG_ENGLISH} "The copy of Amperlog already in $INSTDIR could not be removed."
LangString OldUninstallFailed ${LANG_JAPANESE} "$INSTDIR にある Amperlog を削除できませんでした。"

; A running copy holds Amperlog.lock unshared, and Windows keeps a running program's file from
; being written; either way its files cannot all be replaced, so nothing is touched. Silent,
; the install or uninstall ends with exit code 2.
!macro DefineEnsureNotRunning un
Function ${un}EnsureNotRunning
  retry:
  StrCpy $R0 ""
  ${If} ${FileExists} "$INSTDIR\Amperlog.lock"
    ClearErrors
    FileOpen $R1 "$INSTDIR\Amperlog.lock" r
    ${If} ${Errors}
      StrCpy $R0 "running"
    ${Else}
      FileClose $R1
    ${EndIf}
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\Amperlog.exe"
    ClearErrors
    FileOpen $R1 "$INSTDIR\Amperlog.exe" a
    ${If} ${Errors}
      StrCpy $R0 "running"
    ${Else}
      FileClose $R1
    ${EndIf}
  ${EndIf}
  ${If} $R0 == "running"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(Running)" /SD IDCANCEL IDRETRY retry
    Abort "$(Running)"
  ${EndIf}
FunctionEnd
!macroend
!insertmacro DefineEnsureNotRunning ""
!insertmacro DefineEnsureNotRunning "un."

Section "$(SectionProgram)" SecProgram
  SectionIn RO
  SetShellVarContext current
  Call EnsureNotRunning

  ; An installed copy is removed first, its settings and logs kept, so that no file the new
  ; version lacks stays behind. Its login start stays as it is.
  ${If} ${FileExists} "$INSTDIR\Uninstall.exe"
    ExecWait '"$INSTDIR\Uninstall.exe" /S /KEEPLOGIN _?=$INSTDIR' $R0
    ${If} $R0 != 0
      MessageBox MB_OK|MB_ICONSTOP "$(OldUninstallFailed)" /SD IDOK
      Abort "$(OldUninstallFailed)"
    ${EndIf}
  ${EndIf}

  !insertmacro AmperlogInstallFiles
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Amperlog.lnk" "$INSTDIR\Amperlog.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Amperlog"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Amperlog"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Amperlog.exe"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${AMPERLOG_SIZE_KB}
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The same value as the program's own menu item writes, and Task Manager's switch cleared as the
; program clears it, so the program shows the item checked and can switch it off.
Section /o "$(SectionLogin)" SecLogin
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Amperlog.exe"'
  DeleteRegValue HKCU "${APPROVED_KEY}" "${RUN_VALUE}"
SectionEnd

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/LOGIN" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecLogin}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.EnsureNotRunning

  !insertmacro AmperlogRemoveFiles
  Delete "$SMPROGRAMS\Amperlog.lnk"

  ; The login start goes unless an install of a new version keeps it; a value that starts
  ; another copy of the program is that copy's.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/KEEPLOGIN" $R1
  ${If} ${Errors}
    ReadRegStr $R1 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $R1 == '"$INSTDIR\Amperlog.exe"'
      DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
      DeleteRegValue HKCU "${APPROVED_KEY}" "${RUN_VALUE}"
    ${EndIf}
  ${EndIf}

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: the settings and logs stay.
  RMDir "$INSTDIR"
SectionEnd
