; The Windows installer: makensis -DVERSION=... -DLISTS=<folder of the generated lists> -DOUTFILE=...
; Per user and without administrator rights: the program goes into the user's own
; %LOCALAPPDATA%\Programs\Velunorh, where the settings file beside it stays writable.
; Silent install for tests: setup.exe /S [/DATA=<data folder>] /D=<program folder> (/D last).
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include "${LISTS}\strings.nsh"

Name "Velunorh ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Velunorh"
InstallDirRegKey HKCU "Software\Velunorh" "InstallDir"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velunorh"

Var DataFolder

!insertmacro MUI_PAGE_DIRECTORY
; The second folder page asks for the data folder: the shortcut starts the program there.
!define MUI_PAGE_HEADER_TEXT "${InstallerDataFolderTitle}"
!define MUI_PAGE_HEADER_SUBTEXT "${InstallerDataFolderSubtitle}"
!define MUI_DIRECTORYPAGE_TEXT_TOP "${InstallerDataFolderText}"
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "${InstallerDataFolderLabel}"
!define MUI_DIRECTORYPAGE_VARIABLE $DataFolder
!define MUI_DIRECTORYPAGE_VERIFYONLEAVE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Hungarian"

Function .onInit
  SetShellVarContext current
  ; The data folder chosen at an earlier install, else the user's documents.
  ReadRegStr $DataFolder HKCU "Software\Velunorh" "DataFolder"
  StrCmp $DataFolder "" 0 +2
    StrCpy $DataFolder "$DOCUMENTS"
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/DATA=" $1
  IfErrors +2
    StrCpy $DataFolder $1
FunctionEnd

Section "Velunorh"
  SetShellVarContext current
  !include "${LISTS}\install_files.nsh"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; A shortcut's "Start in" is the output folder at the time it is made.
  CreateDirectory "$DataFolder"
  SetOutPath "$DataFolder"
  CreateShortcut "$SMPROGRAMS\Velunorh.lnk" "$INSTDIR\velunorh.exe"
  SetOutPath "$INSTDIR"

  WriteRegStr HKCU "Software\Velunorh" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "Software\Velunorh" "DataFolder" "$DataFolder"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Velunorh"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velunorh.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes only what the installer put there: the settings file, layout files and the print
; ledger the user's work made stay, and so does the folder holding them.
Section "Uninstall"
  SetShellVarContext current
  !include "${LISTS}\uninstall_files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Velunorh.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegValue HKCU "Software\Velunorh" "InstallDir"
SectionEnd
