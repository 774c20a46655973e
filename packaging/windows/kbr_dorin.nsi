; The Windows installer: kbr_dorin.exe into Program Files, a Start menu shortcut
; that starts it in the user's %APPDATA%\kbr_dorin (where its records are kept),
; and an uninstaller. makensis -DVERSION=... -DEXE=... -DOUT=... kbr_dorin.nsi
Target amd64-unicode  ; a 64-bit installer for the 64-bit program
!include "MUI2.nsh"

Name "kbr_dorin ${VERSION}"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\kbr_dorin"
InstallDirRegKey HKLM "Software\kbr_dorin" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\kbr_dorin"

Section "kbr_dorin"
  SetOutPath "$INSTDIR"
  File "/oname=kbr_dorin.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "Software\kbr_dorin" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "kbr_dorin - test and train your reaction"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kbr_dorin.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; The shortcut starts the program in the user's data folder: the records files
  ; are kept in the folder it starts in.
  SetShellVarContext current
  CreateDirectory "$APPDATA\kbr_dorin"
  SetOutPath "$APPDATA\kbr_dorin"
  CreateShortCut "$SMPROGRAMS\kbr_dorin.lnk" "$INSTDIR\kbr_dorin.exe" "" "$INSTDIR\kbr_dorin.exe" 0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\kbr_dorin.lnk"
  Delete "$INSTDIR\kbr_dorin.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\kbr_dorin"
  ; The records in %APPDATA%\kbr_dorin are the user's and stay.
SectionEnd
