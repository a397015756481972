; The Windows setup of Corvane: installs the program for the current user
; (no administrator rights), writes the installation key that scrambles the
; stored passwords, and adds a Start-menu shortcut and an entry in the user's
; list of installed programs. Its uninstaller keeps the user's entries and the
; key unless asked to remove them.
;
; Built by the `corvane_setup` target of the win64 preset, which passes:
;   PROGRAM    the corvane.exe to install
;   ICON       the setup's icon (the program's own)
;   OUTFILE    the setup file to write
;   VERSION    the project's version, e.g. 0.1.0
;   CORVANE_VERSION_MAJOR/MINOR/PATCH/BUILD  its four parts, as the program's
;              version resource has them
; Silent: `corvane-setup-<version>.exe /S`, `uninstall.exe /S`.

Unicode true
; The program is 64-bit only; a 64-bit setup also sees the registry and the
; folders exactly as the program does.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include nsDialogs.nsh
!include FileFunc.nsh
!include install_key.nsh
!include program_running.nsh

!define PRODUCT "Corvane"
!define PUBLISHER "Tamberlo"
!define FULL_VERSION "${CORVANE_VERSION_MAJOR}.${CORVANE_VERSION_MINOR}.${CORVANE_VERSION_PATCH}.${CORVANE_VERSION_BUILD}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane"
!define START_MENU_LINK "$SMPROGRAMS\Corvane.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The user's own program folder; an earlier installation's folder wins.
InstallDir "$LOCALAPPDATA\Programs\Corvane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${FULL_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${FULL_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${FULL_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION}, the dial-up connection manager, for you alone. No administrator rights are needed.$\r$\n$\r$\nIf ${PRODUCT} is already installed, it is updated; your dialing entries and their passwords are kept.$\r$\n$\r$\n$_CLICK"
!define MUI_FINISHPAGE_RUN "$INSTDIR\corvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "&Start ${PRODUCT} to set up a dialing entry"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.ConfirmPage un.ConfirmPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Section "Corvane"
  !insertmacro WAIT_UNTIL_PROGRAM_ENDS
  ; First, so that a setup that cannot make the key leaves nothing behind.
  Call WriteInstallKeyOnce

  SetOutPath "$INSTDIR"
  File "/oname=corvane.exe" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext current
  ; Without arguments the program opens its options window.
  CreateShortcut "${START_MENU_LINK}" "$INSTDIR\corvane.exe" "" "$INSTDIR\corvane.exe" 0 SW_SHOWNORMAL "" "Dial-up connection manager"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${FULL_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\corvane.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; ---------------------------------------------------------------- uninstall

Var RemoveDataBox
Var RemoveData  ; 1 = also remove the entries and the installation key

Function un.ConfirmPage
  !insertmacro MUI_HEADER_TEXT "Uninstall ${PRODUCT}" "Remove ${PRODUCT} from your computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 40u "${PRODUCT} will be removed from the folder $INSTDIR, with its Start-menu shortcut.$\r$\n$\r$\nYour dialing entries and the installation key stay, so that a later installation finds them again with their passwords."
  Pop $0
  ${NSD_CreateCheckbox} 0 50u 100% 12u "&Also remove my dialing entries and the installation key"
  Pop $RemoveDataBox
  ${NSD_CreateLabel} 12u 64u -12u 20u "Passwords stored with this installation cannot be read any more once the key is removed."
  Pop $0
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^UninstallBtn)"
  nsDialogs::Show
FunctionEnd

Function un.ConfirmPageLeave
  ${NSD_GetState} $RemoveDataBox $RemoveData
FunctionEnd

Section "Uninstall"
  !insertmacro WAIT_UNTIL_PROGRAM_ENDS

  Delete "$INSTDIR\corvane.exe"
  Delete "$INSTDIR\uninstall.exe"
  ; Only an emptied folder goes: whatever the user put there stays.
  RMDir "$INSTDIR"

  SetShellVarContext current
  Delete "${START_MENU_LINK}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ${If} $RemoveData = ${BST_CHECKED}
    DeleteRegKey HKCU "${SETTINGS_ROOT}"
    DeleteRegKey /ifempty HKCU "${PUBLISHER_ROOT}"
  ${EndIf}
SectionEnd
