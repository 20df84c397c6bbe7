; The installer and uninstaller of Kestrel and Tidewatch for one architecture.
; installer/CMakeLists.txt runs makensis with these definitions:
;   ARCH             x86 or x64
;   VERSION          the project's version, x.y.z
;   PUBLISHER        the publisher's name; WEB_SITE its web address
;   ICON             the program icon of Kestrel
;   INSTALL_FILES    File lines of the program folder (file_lists.cmake)
;   UNINSTALL_FILES  Delete and RMDir lines of the same files
;   TIDEWATCH_CLASS, KESTREL_MAIN_CLASS, KESTREL_TIP_CLASS
;                    window classes of the programs, to close them
;   OUTFILE          the installer to write

!if "${ARCH}" == "x64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Tidewatch"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrel"

Name "Kestrel"
Caption "Kestrel ${VERSION} Setup"
UninstallCaption "Kestrel ${VERSION} Uninstall"
BrandingText "Kestrel ${VERSION}"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
; The programs change machine-wide settings and the logon start is for every
; user, so only an administrator installs them.
RequestExecutionLevel admin
!if "${ARCH}" == "x64"
  InstallDir "$PROGRAMFILES64\Kestrel"
!else
  InstallDir "$PROGRAMFILES\Kestrel"
!endif
; A second install goes where the first one went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Kestrel"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "Kestrel ${VERSION} Setup (${ARCH})"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "Welcome to Kestrel ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "This will install Kestrel, which tunes the TCP/IP settings of Windows \
for your Internet connection, and Tidewatch, the tray monitor that shows whether the connection is \
up and keeps an idle line alive.$\r$\n$\r$\nTidewatch will start at every logon, for every user of \
this computer.$\r$\n$\r$\n$_CLICK"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Kestrel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "&Run Kestrel"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Help\help.htm"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the &User's Guide"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
; After an undo, Windows must restart before its earlier values are in force.
!define MUI_FINISHPAGE_REBOOTLATER_DEFAULT

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Kestrel has been removed from your computer.$\r$\n$\r$\nClick Finish to \
close this wizard."
!define MUI_FINISHPAGE_TEXT_REBOOT "Kestrel has been removed, and your own TCP/IP settings are back \
in the registry. Windows uses them from its next start.$\r$\n$\r$\nDo you want to restart now?"
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

; Asks every window of the class to close, as the program's own Exit does
; (its tray icon goes with it), and waits up to five seconds for them to go.
; $R0 is 0 afterwards when none is left.
!macro CloseWindowsOfClass CLASS
  StrCpy $R1 0  ; tenths of a second waited
  StrCpy $R2 0  ; the window last asked
  ${Do}
    FindWindow $R0 "${CLASS}"
    ${If} $R0 = 0
    ${OrIf} $R1 >= 50
      ${Break}
    ${EndIf}
    ${If} $R0 <> $R2
      DetailPrint "Closing ${CLASS}"
      SendMessage $R0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
      StrCpy $R2 $R0
    ${EndIf}
    Sleep 100
    IntOp $R1 $R1 + 1
  ${Loop}
!macroend

; Ends a running Kestrel and Tidewatch, so that their files can be replaced or
; removed and /undo is not taken for a second copy. Kestrel closes without
; questions; only a box of its own that is open can keep it, and then the
; user is asked to close it.
!macro ClosePrograms
  ${Do}
    !insertmacro CloseWindowsOfClass "${KESTREL_TIP_CLASS}"
    !insertmacro CloseWindowsOfClass "${KESTREL_MAIN_CLASS}"
    ${If} $R0 = 0
      ${Break}
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Kestrel is still running. Close it, then choose Retry." /SD IDCANCEL IDRETRY`
      SetErrorLevel 2
      Abort "Kestrel is still running."
    ${EndIf}
  ${Loop}
  !insertmacro CloseWindowsOfClass "${TIDEWATCH_CLASS}"
!macroend

; Deletes a program file, giving its process a moment to end after its window
; has gone; a file still in use goes at the next restart.
!macro DeleteProgram FILE
  StrCpy $R1 0
  ${Do}
    Delete "${FILE}"
    ${IfNot} ${FileExists} "${FILE}"
    ${OrIf} $R1 >= 20
      ${Break}
    ${EndIf}
    Sleep 100
    IntOp $R1 $R1 + 1
  ${Loop}
  Delete /REBOOTOK "${FILE}"
!macroend

; A file that the programs write into their folder, with the temporary file
; of its safe replacement, which a crash in the middle of a save can leave.
!macro DeleteWritten NAME
  Delete "$INSTDIR\${NAME}"
  Delete "$INSTDIR\${NAME}.new"
!macroend

Function .onInit
  !if "${ARCH}" == "x64"
    SetRegView 64
  !endif
  SetShellVarContext all
FunctionEnd

Function un.onInit
  !if "${ARCH}" == "x64"
    SetRegView 64
  !endif
  SetShellVarContext all
FunctionEnd

Section "Kestrel" SectionPrograms
  SectionIn RO
  !insertmacro ClosePrograms
  !include "${INSTALL_FILES}"

  ; Tidewatch runs as the user and saves its ping dialog into Ping.cfg. The
  ; folder stays writable by administrators only; the file itself is made
  ; here, empty (which reads as the default settings), and the users may
  ; change that one file. An existing file keeps the user's settings.
  ${IfNot} ${FileExists} "$INSTDIR\Ping.cfg"
    FileOpen $0 "$INSTDIR\Ping.cfg" w
    FileClose $0
  ${EndIf}
  ; S-1-5-32-545 is the Users group under every language of Windows.
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR\Ping.cfg" /grant *S-1-5-32-545:(M)'
  Pop $0
  ${If} $0 != 0
    DetailPrint "Users may not save the ping settings from Tidewatch (icacls: $0)."
  ${EndIf}

  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\Kestrel"
  CreateShortCut "$SMPROGRAMS\Kestrel\Kestrel.lnk" "$INSTDIR\Kestrel.exe"
  CreateShortCut "$SMPROGRAMS\Kestrel\User's Guide.lnk" "$INSTDIR\Help\help.htm"
  CreateShortCut "$SMPROGRAMS\Kestrel\Uninstall.lnk" "$INSTDIR\Uninstall.exe"

  ; The tray monitor itself, not Kestrel: Kestrel would ask for administrator
  ; rights at every logon.
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Tidewatch.exe"'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kestrel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${WEB_SITE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Kestrel.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  !insertmacro ClosePrograms

  ; The tuning is undone first: should it fail, nothing is removed yet, and
  ; Kestrel with its undo record stays to try again.
  ${If} ${FileExists} "$INSTDIR\Undo.txt"
    MessageBox MB_YESNO|MB_ICONQUESTION "Do you want your own TCP/IP settings back?$\r$\n$\r$\n\
Kestrel puts back every value it changed, as they were before it was first used. Windows \
uses them after the next restart." /SD IDYES IDNO keepTuning
    DetailPrint "Undoing Kestrel's changes to the registry"
    ClearErrors
    ExecWait '"$INSTDIR\Kestrel.exe" /undo' $0
    ${If} ${Errors}
    ${OrIf} $0 != 0
      ${IfNot} ${Cmd} `MessageBox MB_YESNO|MB_ICONEXCLAMATION "Not every value could be put back \
(Kestrel.exe /undo ended with $0).$\r$\n$\r$\nRemove Kestrel anyway? Its undo record goes with \
it. Choose No to keep Kestrel and try again with File > Undo All Changes by Kestrel." \
/SD IDNO IDYES`
        SetErrorLevel 2
        Abort "The tuning was not undone."
      ${EndIf}
    ${Else}
      SetRebootFlag true
    ${EndIf}
    keepTuning:
  ${EndIf}

  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"

  !insertmacro DeleteProgram "$INSTDIR\Kestrel.exe"
  !insertmacro DeleteProgram "$INSTDIR\Tidewatch.exe"
  !include "${UNINSTALL_FILES}"
  !insertmacro DeleteWritten "Kestrel.cfg"
  !insertmacro DeleteWritten "Ping.cfg"
  !insertmacro DeleteWritten "Undo.txt"
  Delete "$INSTDIR\Uninstall.exe"
  ; Not /r: whatever else someone put into the folder stays, with the folder.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Kestrel\Kestrel.lnk"
  Delete "$SMPROGRAMS\Kestrel\User's Guide.lnk"
  Delete "$SMPROGRAMS\Kestrel\Uninstall.lnk"
  RMDir "$SMPROGRAMS\Kestrel"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The uninstalling user's own choice of the tip window.
  DeleteRegKey HKCU "Software\Kestrel"
SectionEnd
